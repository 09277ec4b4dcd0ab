#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class BD;
class Catalogue;
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
    // albums: the lent ones, in the order to show; catalogue finds the album
    // of a row again when "Rendue" is pressed.
    Pret(const QList<BD*>& albums, const Catalogue& catalogue, QWidget* parent);
    ~Pret() override;

signals:
    // "Rendue": the opener marks this album as returned.
    void albumRendu(BD* album);

public slots:
    void setCurrentItem(QTableWidgetItem* current, QTableWidgetItem* previous);
    void bdRendue();

private:
    Ui::Pret* ui = nullptr;
    const Catalogue& catalogue;
    QTableWidget* tablePrets = nullptr;
    QPushButton* pbRendue = nullptr;
    // The album of the current row, named by series and title and found again
    // when "Rendue" is pressed, so a deleted album is never written to.
    bool albumChoisi = false;
    QString serieChoisie;
    QString titreChoisi;
};
