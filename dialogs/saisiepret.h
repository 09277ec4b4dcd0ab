#pragma once

#include <QDialog>
#include <QString>

class BD;
class Phylacto;

namespace Ui {
class saisiePret;
}

// Asks for the borrower of one album and records the loan.
class saisiePret : public QDialog
{
    Q_OBJECT

public:
    saisiePret(BD* album, Phylacto* fenetre);
    ~saisiePret() override;

signals:
    void emprunteur(QString);

public slots:
    void validerPret();

private:
    Ui::saisiePret* ui = nullptr;
    Phylacto* fenetre = nullptr;
    // The album is found again from these when the loan is validated: it may
    // have been deleted from the main window meanwhile.
    QString serie;
    QString titre;
};
