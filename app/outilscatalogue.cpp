#include "app/phylacto.h"

#include "dialogs/fenetrestatistiques.h"
#include "dialogs/listetomesmanquants.h"
#include "model/bd.h"
#include "model/statistiques.h"
#include "model/tomes.h"
#include "ui_phylacto.h"

#include <QDate>
#include <QKeySequence>
#include <QShortcut>

void Phylacto::installerRecherche()
{
    connect(ui->leRechercheRapide, &QLineEdit::textChanged, this, &Phylacto::filtrerSeries);
    ui->leRechercheRapide->installEventFilter(this);
    // One line of text per series: the lists lay out thousands of rows again at
    // each key without measuring each of them.
    for (QListWidget* liste : listesSeries())
        liste->setUniformItemSizes(true);
    auto* rechercher = new QShortcut(QKeySequence::Find, this);
    connect(rechercher, &QShortcut::activated, this, [this] {
        ui->leRechercheRapide->setFocus(Qt::ShortcutFocusReason);
        ui->leRechercheRapide->selectAll();
    });
    auto* effacer = new QShortcut(
        QKeySequence(Qt::Key_Escape), ui->leRechercheRapide, nullptr, nullptr, Qt::WidgetShortcut);
    connect(effacer, &QShortcut::activated, ui->leRechercheRapide, &QLineEdit::clear);

    connect(ui->actionTomesManquants, &QAction::triggered, this, &Phylacto::ouvrirTomesManquants);
    connect(ui->actionStatistiques, &QAction::triggered, this, &Phylacto::ouvrirStatistiques);
}

void Phylacto::filtrerSeries(const QString& texte)
{
    // Rows are only hidden: each list keeps its items, its order and its
    // current item, and shows them all again once the text is cleared.
    const bool tout = texte.isEmpty();
    const QSet<QString> trouvees
        = tout ? QSet<QString>() : m_indexRecherche.seriesTrouvees(catalogue, texte);
    auto* vue = ui->tabWidget->currentWidget()->findChild<QListWidget*>();
    QListWidgetItem* premiereMontree = nullptr;
    for (QListWidget* liste : listesSeries()) {
        for (int ligne = 0; ligne < liste->count(); ++ligne) {
            QListWidgetItem* serie = liste->item(ligne);
            const bool cacher = !tout && !trouvees.contains(serie->text());
            if (liste->isRowHidden(ligne) != cacher)
                liste->setRowHidden(ligne, cacher);
            if (liste == vue && !cacher && !premiereMontree)
                premiereMontree = serie;
        }
    }
    // The table and the detail panel never show a series the lists hide: the
    // first one shown takes its place. A deleted series is no longer listed.
    const bool listee
        = serieCourante.isEmpty() || m_nomsListes.value(ui->LstSerie).contains(serieCourante);
    if (tout || !vue || trouvees.contains(serieCourante) || !listee)
        return;
    if (premiereMontree) {
        if (vue->currentItem() == premiereMontree)
            updateLstAlbum(premiereMontree, nullptr);
        else
            vue->setCurrentItem(premiereMontree);
        return;
    }
    if (serieCourante.isEmpty())
        return;
    vue->setCurrentItem(nullptr);
    serieCourante.clear();
    ui->LstAlbum->setRowCount(0);
    majEtiquetteTomes({});
    viderDetail();
}

void Phylacto::suivreCatalogue()
{
    majEtiquetteTomes();
    // A new or changed album can add a series to the lists or change what a
    // series is found by.
    if (!ui->leRechercheRapide->text().isEmpty())
        filtrerSeries(ui->leRechercheRapide->text());
    actualiserMur();
}

void Phylacto::majEtiquetteTomes()
{
    majEtiquetteTomes(catalogue.albumsParNom(serieCourante, true));
}

void Phylacto::majEtiquetteTomes(const QList<BD*>& albumsSerie)
{
    QList<int> tomes;
    tomes.reserve(albumsSerie.size());
    for (const BD* album : albumsSerie)
        tomes.append(album->tome);
    const QString texte = Tomes::texteEtiquette(Tomes::manques(tomes));
    ui->lbTomesManquants->setText(texte);
    // The label is cut to the table's width; the whole list stays at hand.
    ui->lbTomesManquants->setToolTip(texte);
}

void Phylacto::ouvrirTomesManquants()
{
    (new ListeTomesManquants(catalogue, this, m_rechercheCatalogue, serieCourante))->show();
}

void Phylacto::ouvrirStatistiques()
{
    (new FenetreStatistiques(Statistiques::calculer(catalogue, QDate::currentDate()), this))
        ->show();
}
