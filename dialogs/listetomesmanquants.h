#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class Catalogue;
class RechercheCatalogue;

namespace Ui {
class ListeTomesManquants;
}

// Every series with missing volumes, as they were when the dialog opened.
class ListeTomesManquants : public QDialog
{
    Q_OBJECT

public:
    // With recherche, "Tomes parus" asks the national catalogue for the
    // selected series (else serieProposee) and lists the volumes not held.
    ListeTomesManquants(const Catalogue& catalogue, QWidget* parent,
        RechercheCatalogue* recherche = nullptr, const QString& serieProposee = QString());
    ~ListeTomesManquants() override;

    // The header and the rows in the order shown, as "Copier" puts them.
    QList<QStringList> lignesAffichees() const;

public slots:
    void copier();
    void chercherTomesParus();

private:
    Ui::ListeTomesManquants* ui = nullptr;
    const Catalogue& m_catalogue;
    RechercheCatalogue* m_recherche = nullptr;
    QString m_serieProposee;
};
