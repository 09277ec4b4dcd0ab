#include "dialogs/ajoutcatalogue.h"

#include "dialogs/saise.h"
#include "model/bd.h"
#include "model/isbn.h"
#include "ui_ajoutcatalogue.h"

#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QTimer>

#include <utility>

using namespace NoticesCatalogue;

namespace {

namespace Colonne {
enum {
    Coche,
    Serie,
    Tome,
    Titre,
    Scenariste,
    Dessinateur,
    Coloriste,
    Editeur,
    Annee,
    Source,
    Collection
};
}

QString nombreAlbums(int n)
{
    return n == 1 ? AjoutCatalogue::tr("1 album") : AjoutCatalogue::tr("%1 albums").arg(n);
}

QString nomLisible(const NoticeAlbum& notice)
{
    return notice.tome > 0 ? AjoutCatalogue::tr("« %1 » (%2, tome %3)")
                                 .arg(notice.titre, notice.serie)
                                 .arg(notice.tome)
        : notice.serie.isEmpty() || notice.serie == notice.titre
        ? AjoutCatalogue::tr("« %1 »").arg(notice.titre)
        : AjoutCatalogue::tr("« %1 » (%2)").arg(notice.titre, notice.serie);
}

} // namespace

AjoutCatalogue::AjoutCatalogue(
    RechercheCatalogue* recherche, const Catalogue& catalogue, Ajout ajout, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::AjoutCatalogue)
    , m_recherche(recherche)
    , m_catalogue(catalogue)
    , m_ajout(std::move(ajout))
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    QTableWidget* table = ui->tvResultatsCatalogue;
    table->setColumnWidth(Colonne::Coche, 76);
    table->setColumnWidth(Colonne::Serie, 150);
    table->setColumnWidth(Colonne::Tome, 48);
    table->setColumnWidth(Colonne::Titre, 180);
    // Wide enough for "Prénom Nom" on one line, and the held mark in sight.
    for (int colonne : { Colonne::Scenariste, Colonne::Dessinateur })
        table->setColumnWidth(colonne, 124);
    table->setColumnWidth(Colonne::Coloriste, 104);
    table->setColumnWidth(Colonne::Editeur, 104);
    table->setColumnWidth(Colonne::Annee, 52);
    table->setColumnWidth(Colonne::Source, 96);
    connect(ui->leRechercheCatalogue, &QLineEdit::returnPressed, this, &AjoutCatalogue::rechercher);
    connect(ui->pbRechercherCatalogue, &QPushButton::clicked, this, &AjoutCatalogue::rechercher);
    connect(ui->pbAjouterCatalogue, &QPushButton::clicked, this, &AjoutCatalogue::ajouter);
    connect(
        ui->pbModifierCatalogue, &QPushButton::clicked, this, &AjoutCatalogue::modifierAvantAjout);
    connect(table, &QTableWidget::itemChanged, this, &AjoutCatalogue::majAttente);
    connect(table->verticalScrollBar(), &QScrollBar::valueChanged, this,
        &AjoutCatalogue::demanderVignettes);
    majAttente();
}

AjoutCatalogue::~AjoutCatalogue()
{
    delete ui;
}

void AjoutCatalogue::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ui->leRechercheCatalogue->setFocus();
    demanderVignettes();
    // Ready before the first scan comes back.
    QTimer::singleShot(0, this, [this] { index(); });
}

void AjoutCatalogue::done(int resultat)
{
    for (Attente& attente : m_aAjouter)
        attente.recue = true;
    poursuivreAjout();
    QDialog::done(resultat);
}

const IndexPossedes& AjoutCatalogue::index()
{
    // Albums added since are indexed alone; any other change rebuilds it.
    const qsizetype albums = m_catalogue.albums().size();
    if (!m_index || m_revisionIndex != m_catalogue.revisionContenuHorsAjouts()
        || albums < m_nbIndexes) {
        m_index = std::make_unique<IndexPossedes>(m_catalogue);
        m_revisionIndex = m_catalogue.revisionContenuHorsAjouts();
    } else if (albums > m_nbIndexes) {
        m_index->completer(m_catalogue, m_nbIndexes);
    }
    m_nbIndexes = albums;
    return *m_index;
}

void AjoutCatalogue::rechercher()
{
    const QString texte = ui->leRechercheCatalogue->text().simplified();
    if (texte.isEmpty())
        return;
    const Isbn::Lecture lecture = Isbn::lire(texte);
    const QString erreur = Isbn::texteErreur(lecture);
    if (!erreur.isEmpty()) {
        // Kept, selected: corrected by hand or replaced by the next scan.
        ui->lbEtatCatalogue->setText(tr("« %1 » : %2").arg(texte, erreur));
        ui->leRechercheCatalogue->selectAll();
        return;
    }
    ui->leRechercheCatalogue->clear();
    ui->leRechercheCatalogue->setFocus();
    ui->lbEtatCatalogue->setText(tr("Recherche de « %1 »…").arg(texte));
    const bool parIsbn = lecture.nature == Isbn::Nature::Isbn13;
    const auto fin = [this, texte, parIsbn](const RechercheCatalogue::Resultat& resultat) {
        recevoir(resultat, texte, parIsbn);
    };
    if (parIsbn)
        m_recherche->chercherIsbn(lecture.isbn13, this, fin);
    else
        m_recherche->chercherTexte(texte, this, fin);
}

void AjoutCatalogue::recevoir(
    const RechercheCatalogue::Resultat& resultat, const QString& recherche, bool parIsbn)
{
    using Etat = RechercheCatalogue::Etat;
    if (resultat.etat == Etat::Echec) {
        ui->lbEtatCatalogue->setText(tr("« %1 » : %2").arg(recherche, resultat.message));
        return;
    }
    if (resultat.etat == Etat::Aucun) {
        ui->lbEtatCatalogue->setText(tr("Aucun résultat pour « %1 ».").arg(recherche));
        return;
    }
    QList<NoticeAlbum> notices = resultat.notices;
    index().marquer(notices);
    QTableWidget* table = ui->tvResultatsCatalogue;
    const QSignalBlocker bloque(table);
    QString etat;
    if (parIsbn) {
        // A scan piles up; the same book scanned again is not listed twice.
        QSet<QString> listes;
        for (const Ligne& ligne : std::as_const(m_lignes))
            listes.insert(ligne.notice.isbn);
        bool coche = false;
        for (const NoticeAlbum& notice : std::as_const(notices)) {
            if (!notice.isbn.isEmpty() && listes.contains(notice.isbn))
                continue;
            ajouterLigne(notice, !coche && !notice.possede);
            coche = coche || !notice.possede;
        }
        const NoticeAlbum& premiere = notices.first();
        etat = premiere.possede ? tr("%1 est déjà dans la collection.").arg(nomLisible(premiere))
            : listes.contains(premiere.isbn)
            ? tr("%1 est déjà dans la liste.").arg(nomLisible(premiere))
            : tr("%1 trouvé.").arg(nomLisible(premiere));
    } else {
        // A new search by words replaces the results nobody ticked.
        for (int ligne = table->rowCount() - 1; ligne >= 0; --ligne) {
            if (table->item(ligne, Colonne::Coche)->checkState() != Qt::Checked) {
                table->removeRow(ligne);
                m_lignes.removeAt(ligne);
            }
        }
        trierParTome(notices);
        for (const NoticeAlbum& notice : std::as_const(notices))
            ajouterLigne(notice, false);
        etat = notices.size() == 1
            ? tr("1 résultat pour « %1 ».").arg(recherche)
            : tr("%1 résultats pour « %2 ».").arg(notices.size()).arg(recherche);
        if (resultat.tronque)
            etat += tr(" Seuls les premiers sont montrés : précisez la recherche.");
    }
    if (!resultat.message.isEmpty())
        etat += QLatin1Char(' ') + tr("(%1)").arg(resultat.message);
    ui->lbEtatCatalogue->setText(etat);
    majAttente();
    demanderVignettes();
}

void AjoutCatalogue::ajouterLigne(const NoticeAlbum& notice, bool cochee)
{
    QTableWidget* table = ui->tvResultatsCatalogue;
    const int ligne = table->rowCount();
    table->insertRow(ligne);
    auto* coche = new QTableWidgetItem;
    coche->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    coche->setCheckState(cochee ? Qt::Checked : Qt::Unchecked);
    table->setItem(ligne, Colonne::Coche, coche);
    const QStringList textes { notice.serie,
        notice.tome > 0 ? QString::number(notice.tome) : QString(), notice.titre, notice.scenariste,
        notice.dessinateur, notice.coloriste, notice.editeur,
        notice.annee > 0 ? QString::number(notice.annee) : QString(),
        SourcesCouvertures::nomSource(notice.source),
        notice.possede ? tr("déjà dans la collection") : QString() };
    for (int colonne = Colonne::Serie; colonne <= Colonne::Collection; ++colonne) {
        auto* item = new QTableWidgetItem(textes.at(colonne - Colonne::Serie));
        if (notice.possede)
            item->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
        table->setItem(ligne, colonne, item);
    }
    m_lignes.append({ m_prochainId++, notice, false, false, {} });
}

int AjoutCatalogue::ligneDe(int id) const
{
    for (int ligne = 0; ligne < m_lignes.size(); ++ligne) {
        if (m_lignes.at(ligne).id == id)
            return ligne;
    }
    return -1;
}

int AjoutCatalogue::nbEnAttente() const
{
    int n = 0;
    for (int ligne = 0; ligne < ui->tvResultatsCatalogue->rowCount(); ++ligne)
        n += ui->tvResultatsCatalogue->item(ligne, Colonne::Coche)->checkState() == Qt::Checked;
    return n;
}

void AjoutCatalogue::majAttente()
{
    const int n = nbEnAttente();
    ui->lbAttenteCatalogue->setText(n == 0 ? QString() : tr("%1 en attente").arg(nombreAlbums(n)));
}

void AjoutCatalogue::demanderVignettes()
{
    const QTableWidget* table = ui->tvResultatsCatalogue;
    if (!isVisible() || table->rowCount() == 0)
        return;
    // Only the rows in sight: a long series does not hold up the next scan.
    const int premiere = qMax(0, table->rowAt(0));
    int derniere = table->rowAt(table->viewport()->height() - 1);
    if (derniere < 0)
        derniere = table->rowCount() - 1;
    for (int ligne = premiere; ligne <= derniere; ++ligne)
        demanderImage(m_lignes.at(ligne).id);
}

void AjoutCatalogue::demanderImage(int id)
{
    const int ligne = ligneDe(id);
    if (ligne < 0 || m_lignes.at(ligne).imageDemandee)
        return;
    m_lignes[ligne].imageDemandee = true;
    const NoticeAlbum& notice = m_lignes.at(ligne).notice;
    m_recherche->image(notice.couverture, notice.source, this,
        [this, id](const QByteArray& octets) { recevoirImage(id, octets); });
}

void AjoutCatalogue::recevoirImage(int id, const QByteArray& octets)
{
    const int ligne = ligneDe(id);
    if (ligne >= 0) {
        m_lignes[ligne].imageRecue = true;
        m_lignes[ligne].image = octets;
        const QImage image = QImage::fromData(octets);
        if (!image.isNull())
            ui->tvResultatsCatalogue->item(ligne, Colonne::Coche)
                ->setIcon(QPixmap::fromImage(image.scaled(ui->tvResultatsCatalogue->iconSize(),
                    Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    for (Attente& attente : m_aAjouter) {
        if (attente.id == id) {
            attente.recue = true;
            attente.image = octets;
        }
    }
    poursuivreAjout();
}

void AjoutCatalogue::ajouter()
{
    QList<Attente> lot;
    const int type = ui->cbTypeCatalogue->currentIndex();
    for (int ligne = 0; ligne < m_lignes.size(); ++ligne) {
        if (ui->tvResultatsCatalogue->item(ligne, Colonne::Coche)->checkState() == Qt::Checked) {
            const Ligne& l = m_lignes.at(ligne);
            lot.append({ l.id, valeurs(l.notice, type), !l.notice.couverture.isEmpty(),
                l.imageRecue, l.image });
        }
    }
    if (lot.isEmpty()) {
        ui->lbEtatCatalogue->setText(tr("Cochez les albums à ajouter."));
        return;
    }
    attendreCouvertures(lot);
}

void AjoutCatalogue::modifierAvantAjout()
{
    QTableWidget* table = ui->tvResultatsCatalogue;
    const int ligne = table->currentRow();
    if (ligne < 0) {
        ui->lbEtatCatalogue->setText(tr("Choisissez d'abord un album de la liste."));
        return;
    }
    const Ligne l = m_lignes.at(ligne);
    auto* saisie = new Saise(nullptr, this, m_catalogue.albums());
    saisie->setAttribute(Qt::WA_DeleteOnClose);
    saisie->remplir(valeurs(l.notice, ui->cbTypeCatalogue->currentIndex()));
    connect(saisie, &Saise::nouvelAlbum, this,
        [this, l](QString serie, QString titre, QString scenariste, QString dessinateur, int tome,
            QString commentaire, int type, int note, int serieFinie, QString editeur, QString genre,
            QString coloriste) {
            attendreCouvertures({ { l.id,
                { serie, titre, scenariste, dessinateur, tome, commentaire, type, note, serieFinie,
                    editeur, genre, coloriste },
                !l.notice.couverture.isEmpty(), l.imageRecue, l.image } });
        });
    saisie->show();
}

void AjoutCatalogue::attendreCouvertures(QList<Attente> lot)
{
    m_aAjouter = std::move(lot);
    activerBoutons(false);
    QList<int> aDemander;
    for (const Attente& attente : std::as_const(m_aAjouter)) {
        if (!attente.recue)
            aDemander.append(attente.id);
    }
    // A cover already in memory answers at once, and may end the wait.
    for (int id : std::as_const(aDemander))
        demanderImage(id);
    poursuivreAjout();
}

void AjoutCatalogue::poursuivreAjout()
{
    if (m_aAjouter.isEmpty())
        return;
    int recues = 0;
    for (const Attente& attente : std::as_const(m_aAjouter))
        recues += attente.recue;
    if (recues < m_aAjouter.size()) {
        ui->lbEtatCatalogue->setText(
            tr("Téléchargement des couvertures : %1 sur %2…").arg(recues).arg(m_aAjouter.size()));
        return;
    }
    const QList<Attente> lot = std::exchange(m_aAjouter, {});
    QList<AjoutLot::AlbumAAjouter> albums;
    for (const Attente& attente : lot)
        albums.append({ attente.valeurs, attente.image, {}, attente.couvertureAttendue, {}, {} });
    const AjoutLot::Bilan bilan = m_ajout(albums);

    QTableWidget* table = ui->tvResultatsCatalogue;
    const QSignalBlocker bloque(table);
    QStringList refuses;
    for (int i = 0; i < lot.size(); ++i) {
        const int ligne = ligneDe(lot.at(i).id);
        if (bilan.albums.value(i)) {
            if (ligne >= 0) {
                table->removeRow(ligne);
                m_lignes.removeAt(ligne);
            }
            continue;
        }
        refuses << tr("Album %1 de la série %2 déjà existant")
                       .arg(lot.at(i).valeurs.titre, lot.at(i).valeurs.serie);
        if (ligne >= 0) {
            table->item(ligne, Colonne::Coche)->setCheckState(Qt::Unchecked);
            table->item(ligne, Colonne::Collection)->setText(tr("déjà dans la collection"));
        }
    }
    QString etat = bilan.ajoutes == 1
        ? tr("1 album ajouté à la collection.")
        : tr("%1 ajoutés à la collection.").arg(nombreAlbums(bilan.ajoutes));
    if (bilan.sansCouverture > 0)
        etat += QLatin1Char(' ') + tr("Sans couverture : %1.").arg(bilan.sansCouverture);
    if (!refuses.isEmpty())
        etat += QLatin1Char(' ') + refuses.join(QStringLiteral(". ")) + QLatin1Char('.');
    ui->lbEtatCatalogue->setText(etat);
    activerBoutons(true);
    majAttente();
    demanderVignettes();
}

void AjoutCatalogue::activerBoutons(bool actifs)
{
    ui->pbAjouterCatalogue->setEnabled(actifs);
    ui->pbModifierCatalogue->setEnabled(actifs);
}
