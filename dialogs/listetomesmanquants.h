#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class Catalogue;

namespace Ui {
class ListeTomesManquants;
}

// Every series with missing volumes, as they were when the dialog opened.
class ListeTomesManquants : public QDialog
{
    Q_OBJECT

public:
    ListeTomesManquants(const Catalogue& catalogue, QWidget* parent);
    ~ListeTomesManquants() override;

    // The header and the rows in the order shown, as "Copier" puts them.
    QList<QStringList> lignesAffichees() const;

public slots:
    void copier();

private:
    Ui::ListeTomesManquants* ui = nullptr;
};
