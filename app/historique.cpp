#include "app/phylacto.h"

#include "model/bd.h"
#include "model/modifications.h"
#include "model/serie.h"
#include "ui_phylacto.h"

#include <QUndoStack>

#include <utility>

namespace {

// One step of the stack: a change of the catalogue, undone and redone on it
// alone. The window follows the stack's index to show what moved.
class PasAnnulable : public QUndoCommand
{
public:
    PasAnnulable(std::unique_ptr<ModificationCatalogue> modification, Catalogue& catalogue)
        : m_modification(std::move(modification))
        , m_catalogue(catalogue)
    {
        setText(m_modification->texte());
    }
    void undo() override { m_modification->annuler(m_catalogue); }
    void redo() override { m_modification->refaire(m_catalogue); }
    const ModificationCatalogue& modification() const { return *m_modification; }

private:
    std::unique_ptr<ModificationCatalogue> m_modification;
    Catalogue& m_catalogue;
};

} // namespace

void Phylacto::preparerAnnulation()
{
    m_annulation = new QUndoStack(this);
    m_annulation->setUndoLimit(100);
    connect(ui->actionAnnuler, &QAction::triggered, this, [this]() {
        noterEtatEnregistre();
        m_annulation->undo();
    });
    connect(ui->actionRetablir, &QAction::triggered, this, [this]() {
        noterEtatEnregistre();
        m_annulation->redo();
    });
    connect(m_annulation, &QUndoStack::indexChanged, this, &Phylacto::rafraichirApresAnnulation);
    connect(m_annulation, &QUndoStack::canUndoChanged, ui->actionAnnuler, &QAction::setEnabled);
    connect(m_annulation, &QUndoStack::canRedoChanged, ui->actionRetablir, &QAction::setEnabled);
    // The entries are cut: a long title would widen the menu to the screen.
    connect(m_annulation, &QUndoStack::undoTextChanged, this, [this](const QString& texte) {
        ui->actionAnnuler->setText(
            texte.isEmpty() ? tr("Annuler") : entreeDeMenu(tr("Annuler %1").arg(texte)));
    });
    connect(m_annulation, &QUndoStack::redoTextChanged, this, [this](const QString& texte) {
        ui->actionRetablir->setText(
            texte.isEmpty() ? tr("Rétablir") : entreeDeMenu(tr("Rétablir %1").arg(texte)));
    });
    // Nothing changes the catalogue outside the stack: back at the saved step,
    // the catalogue is the one saved.
    connect(m_annulation, &QUndoStack::cleanChanged, this,
        [this](bool propre) { setModifie(!propre); });
}

void Phylacto::noterEtatEnregistre()
{
    // Unsaved at the saved step: what is unsaved is outside the catalogue (an
    // encoding to write the file in), so no step is the saved state any more.
    if (modifie && m_annulation->isClean())
        m_annulation->resetClean();
}

void Phylacto::setModifie(bool valeur)
{
    modifie = valeur;
    setWindowModified(valeur);
}

void Phylacto::executer(std::unique_ptr<ModificationCatalogue> modification)
{
    noterEtatEnregistre();
    // The slot that records the step shows it; the push is not an undo or redo to show.
    m_pasEnregistre = true;
    m_annulation->push(new PasAnnulable(std::move(modification), catalogue));
    m_pasEnregistre = false;
    m_indexAnnulation = m_annulation->index();
    setModifie(true);
}

void Phylacto::rafraichirApresAnnulation(int index)
{
    const int ancien = std::exchange(m_indexAnnulation, index);
    if (m_pasEnregistre)
        return;
    // An undo moves back onto its step, a redo moves past it; a cleared stack has none.
    const auto* pas
        = dynamic_cast<const PasAnnulable*>(m_annulation->command(index < ancien ? index : ancien));
    if (pas)
        montrerPas(pas->modification());
}

void Phylacto::montrerPas(const ModificationCatalogue& modification)
{
    if (dynamic_cast<const RemplacementCatalogue*>(&modification)) {
        reprendreAffichage();
        return;
    }
    BD* aMontrer = modification.albumAMontrer();

    // Series lists: names of series gone, then the missing ones.
    for (const auto& [liste, seriesListe] : listesEtSeries()) {
        QSet<QString> presents;
        for (const Serie* serie : *seriesListe)
            presents.insert(serie->getNom());
        const QSet<QString> affiches = m_nomsListes.value(liste);
        for (const QString& nom : affiches) {
            if (presents.contains(nom))
                continue;
            m_nomsListes[liste].remove(nom);
            const QList<QListWidgetItem*> trouves = liste->findItems(nom, Qt::MatchExactly);
            if (!trouves.isEmpty())
                delete trouves.first();
        }
    }
    MAJListesSeries();

    if (aMontrer && catalogue.albums().contains(aMontrer)) {
        montrerAlbum(aMontrer);
    } else {
        if (catalogue.findSerie(serieCourante))
            remplirTableAlbums();
        else
            ui->LstAlbum->setRowCount(0);
        if (!catalogue.premierAlbum(ui->leSerie->text(), ui->leTitre->text()))
            viderDetail();
    }
    MAJCompteurs();
    update();
}

void Phylacto::montrerAlbum(BD* album)
{
    const QString serie = album->getSerie();
    if (serie != serieCourante) {
        auto* liste = ui->tabWidget->currentWidget()->findChild<QListWidget*>();
        if (!liste || liste->findItems(serie, Qt::MatchExactly).isEmpty()) {
            ui->tabWidget->setCurrentIndex(0);
            liste = ui->LstSerie;
        }
        const QList<QListWidgetItem*> trouves = liste->findItems(serie, Qt::MatchExactly);
        if (!trouves.isEmpty())
            liste->setCurrentItem(trouves.first());
    }
    remplirTableAlbums();
    for (int ligne = 0; ligne < ui->LstAlbum->rowCount(); ++ligne) {
        if (albumDeLaLigne(ligne) == album) {
            ui->LstAlbum->setCurrentCell(ligne, 1);
            break;
        }
    }
    updateInfosBd(album);
}

void Phylacto::changerPret(
    BD* album, const QString& texte, const std::function<void(BD&)>& changement)
{
    noterEtatEnregistre();
    const ChampsAlbum avant = album->champs();
    const EtatSerie serie = catalogue.etatSerie(album->getSerie());
    changement(*album);
    executer(std::make_unique<ChangementAlbum>(texte.arg(album->getTitre()), album, avant, serie));
}

void Phylacto::changerCouverture(BD* album, const QString& champImage)
{
    const ChampsAlbum avant = album->champs();
    ChampsAlbum apres = avant;
    apres.image = champImage;
    catalogue.changerChamps(album, apres);
    executer(std::make_unique<ChangementAlbum>(
        tr("le choix de la couverture de %1").arg(album->getTitre()), album, avant,
        catalogue.etatSerie(album->getSerie())));
}
