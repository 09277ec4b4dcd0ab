#include "app/phylacto.h"

#include "model/bd.h"
#include "model/serie.h"
#include "ui_phylacto.h"

#include <QUndoStack>

// One step of the stack. The slot that makes the change first updates the
// window itself, as it always did; later undos and redos refresh it here.
class CommandeAlbum : public QUndoCommand
{
public:
    CommandeAlbum(Phylacto* fenetre, const QString& texte)
        : fenetre(fenetre)
    {
        setText(texte);
    }

    void undo() override
    {
        annuler();
        fenetre->rafraichirApresAnnulation(albumRemis());
    }
    void redo() override
    {
        refaire();
        if (m_dejaFaite)
            fenetre->rafraichirApresAnnulation(albumRemis());
        m_dejaFaite = true;
    }

protected:
    virtual void annuler() = 0;
    virtual void refaire() = 0;
    // The album to show once the step is undone or redone, if any.
    virtual BD* albumRemis() const = 0;

    Phylacto* fenetre;
    Catalogue& catalogue() { return fenetre->catalogue; }

private:
    bool m_dejaFaite = false;
};

class SuppressionAlbum : public CommandeAlbum
{
public:
    SuppressionAlbum(Phylacto* fenetre, BD* album)
        : CommandeAlbum(fenetre, Phylacto::tr("la suppression de l'album %1").arg(album->getTitre()))
        , m_album(album)
    {
    }
    ~SuppressionAlbum() override
    {
        if (m_retire)
            delete m_album;
    }

protected:
    void refaire() override
    {
        m_position = catalogue().retirerAlbum(m_album);
        m_retire = m_position >= 0;
    }
    void annuler() override
    {
        if (!m_retire)
            return;
        catalogue().remettreAlbum(m_album, m_position);
        m_retire = false;
    }
    BD* albumRemis() const override { return m_retire ? nullptr : m_album; }

private:
    BD* m_album;
    int m_position = -1;
    bool m_retire = false;
};

class SuppressionSerie : public CommandeAlbum
{
public:
    SuppressionSerie(Phylacto* fenetre, const QString& nom)
        : CommandeAlbum(fenetre, Phylacto::tr("la suppression de la série %1").arg(nom))
        , m_nom(nom)
    {
    }
    ~SuppressionSerie() override { oublier(); }

protected:
    void refaire() override
    {
        oublier();
        m_retiree = catalogue().retirerSerie(m_nom);
        m_retire = true;
    }
    void annuler() override
    {
        if (!m_retire)
            return;
        catalogue().remettreSerie(m_retiree);
        m_retire = false;
    }
    BD* albumRemis() const override
    {
        return m_retire || m_retiree.albums.isEmpty() ? nullptr : m_retiree.albums.first().second;
    }

private:
    void oublier()
    {
        if (!m_retire)
            return;
        for (const auto& retire : std::as_const(m_retiree.albums))
            delete retire.second;
        delete m_retiree.serie;
        m_retiree = {};
        m_retire = false;
    }

    QString m_nom;
    SerieRetiree m_retiree;
    bool m_retire = false;
};

// A change through the form, a loan or a return: the album's fields before
// and after, and what the change did to the series it joined.
class ChangementAlbum : public CommandeAlbum
{
public:
    ChangementAlbum(Phylacto* fenetre, const QString& texte, BD* album, const ChampsAlbum& avant,
        const EtatSerie& serieAvant)
        : CommandeAlbum(fenetre, texte)
        , m_album(album)
        , m_avant(avant)
        , m_apres(album->champs())
        , m_serieAvant(serieAvant)
    {
    }

protected:
    void refaire() override
    {
        catalogue().remettreChamps(m_album, m_apres);
        if (m_apres.serie != m_avant.serie || m_apres.tome != m_avant.tome
            || m_apres.serieFinie != m_avant.serieFinie)
            catalogue().integrerSerie(m_album);
    }
    void annuler() override
    {
        catalogue().remettreChamps(m_album, m_avant);
        catalogue().restaurerSerie(m_serieAvant);
    }
    BD* albumRemis() const override { return m_album; }

private:
    BD* m_album;
    ChampsAlbum m_avant;
    ChampsAlbum m_apres;
    EtatSerie m_serieAvant;
};

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
    connect(m_annulation, &QUndoStack::canUndoChanged, ui->actionAnnuler, &QAction::setEnabled);
    connect(m_annulation, &QUndoStack::canRedoChanged, ui->actionRetablir, &QAction::setEnabled);
    connect(m_annulation, &QUndoStack::undoTextChanged, this, [this](const QString& texte) {
        ui->actionAnnuler->setText(texte.isEmpty() ? tr("Annuler") : tr("Annuler %1").arg(texte));
    });
    connect(m_annulation, &QUndoStack::redoTextChanged, this, [this](const QString& texte) {
        ui->actionRetablir->setText(
            texte.isEmpty() ? tr("Rétablir") : tr("Rétablir %1").arg(texte));
    });
    connect(m_annulation, &QUndoStack::cleanChanged, this, [this](bool propre) {
        // Back at the saved step: unsaved only if a change outside the stack
        // (an album added, a cover) happened meanwhile.
        if (!propre)
            modifie = true;
        else if (m_empreinteConnue)
            modifie = catalogue.empreinte() != m_empreinteEnregistree;
    });
}

void Phylacto::noterEtatEnregistre()
{
    if (!m_annulation->isClean())
        return;
    if (modifie) {
        // Changed outside the stack since the save: no step is the saved state.
        m_annulation->resetClean();
    } else if (!m_empreinteConnue) {
        // Read before the stack leaves the saved step, not at every save.
        m_empreinteEnregistree = catalogue.empreinte();
        m_empreinteConnue = true;
    }
}

void Phylacto::executer(CommandeAlbum* commande)
{
    noterEtatEnregistre();
    m_annulation->push(commande);
    modifie = true;
}

void Phylacto::rafraichirApresAnnulation(BD* aMontrer)
{
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
    enregistrerChangement(texte.arg(album->getTitre()), album, avant, serie);
}

void Phylacto::supprimerAlbumAnnulable(BD* album)
{
    executer(new SuppressionAlbum(this, album));
}

void Phylacto::supprimerSerieAnnulable(const QString& nom)
{
    executer(new SuppressionSerie(this, nom));
}

void Phylacto::enregistrerChangement(
    const QString& texte, BD* album, const ChampsAlbum& avant, const EtatSerie& serieAvant)
{
    executer(new ChangementAlbum(this, texte, album, avant, serieAvant));
}
