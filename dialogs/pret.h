#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class BD;
class Phylacto;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace Ui {
class Pret;
}

// The lent albums, as they were when the dialog opened; "Rendue" marks the
// album of the current row as returned.
class Pret : public QDialog
{
    Q_OBJECT

public:
    Pret(const QList<BD*>& albums, Phylacto* fenetre);
    ~Pret() override;

public slots:
    void setCurrentItem(QTableWidgetItem* current, QTableWidgetItem* previous);
    void bdRendue();

private:
    Ui::Pret* ui = nullptr;
    Phylacto* fenetre = nullptr;
    QTableWidget* tablePrets = nullptr;
    QPushButton* pbRendue = nullptr;
    // The album of the current row, named by series and title and found again
    // when "Rendue" is pressed, so a deleted album is never written to.
    bool albumChoisi = false;
    QString serieChoisie;
    QString titreChoisi;
};
