#pragma once

#include <QDialog>
#include <QString>

class BD;

namespace Ui {
class saisiePret;
}

// Asks for the borrower of one album; the opener records the loan.
class saisiePret : public QDialog
{
    Q_OBJECT

public:
    saisiePret(const BD* album, QWidget* parent);
    ~saisiePret() override;

signals:
    // Part of the dialog's interface, though the loan goes through pretValide.
    void emprunteur(QString);
    // "Valider pret" with a valid name: the album named by series and title
    // is lent to that borrower today.
    void pretValide(QString serie, QString titre, QString emprunteur);

public slots:
    void validerPret();

private:
    Ui::saisiePret* ui = nullptr;
    // The album is found again from these when the loan is recorded: it may
    // have been deleted from the main window meanwhile.
    QString serie;
    QString titre;
};
