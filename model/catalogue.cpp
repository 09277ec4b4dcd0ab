#include "model/catalogue.h"

#include "model/bd.h"
#include "model/serie.h"

#include <QCryptographicHash>
#include <QSet>

Catalogue::~Catalogue()
{
    // Told first: nothing is worth keeping of albums that all go.
    for (SuiviAlbums* suivi : std::as_const(m_suivis))
        suivi->catalogueDetruit();
    m_suivis.clear();
    vider();
}

void Catalogue::prevenir(const BD& album) const
{
    for (SuiviAlbums* suivi : std::as_const(m_suivis))
        suivi->avantChangement(album);
}

QList<BD*> Catalogue::albumsParNom(const QString& texte, bool parSerie) const
{
    QList<BD*> trouves;
    if (!parSerie) {
        for (BD* album : m_albums) {
            if (album->getTitre() == texte)
                trouves.append(album);
        }
        return trouves;
    }
    // Every album names a series of the catalogue, and nearly all share its
    // name's buffer: the names are read only for the others.
    const Serie* serie = findSerie(texte);
    if (!serie)
        return trouves;
    const QString& nom = serie->nomSansCopie();
    for (BD* album : m_albums) {
        const QString& sienne = album->serieSansCopie();
        if ((sienne.constData() == nom.constData() && sienne.size() == nom.size()) || sienne == nom)
            trouves.append(album);
    }
    return trouves;
}

BD* Catalogue::premierAlbum(const QString& serie, const QString& titre) const
{
    for (BD* album : m_albums) {
        if (album->getTitre() == titre && album->getSerie() == serie)
            return album;
    }
    return nullptr;
}

ValeursAlbum Catalogue::partager(const ValeursAlbum& valeurs)
{
    ValeursAlbum v = valeurs;
    v.serie = m_textes.partager(v.serie);
    v.scenariste = m_textes.partager(v.scenariste);
    v.dessinateur = m_textes.partager(v.dessinateur);
    v.editeur = m_textes.partager(v.editeur);
    v.genre = m_textes.partager(v.genre);
    v.coloriste = m_textes.partager(v.coloriste);
    return v;
}

ResultatEdition Catalogue::ajouter(const ValeursAlbum& valeurs)
{
    const ValeursAlbum v = partager(valeurs);
    if (premierAlbum(v.serie, v.titre))
        return { ResultatEdition::Doublon, nullptr, false };
    const qsizetype series = m_series.size();
    BD* album = creer(v);
    return { ResultatEdition::Fait, album, m_series.size() > series };
}

BD* Catalogue::creer(const ValeursAlbum& v)
{
    auto* album = new BD(v.serie, v.titre, v.tome, v.dessinateur, v.scenariste, v.editeur,
        v.commentaire, 0, v.genre, QString(), QString(), QString(), 0.0, v.type, QString(), v.note,
        v.serieFinie, 0, QString(), v.coloriste);
    attacher(album);
    return album;
}

QList<BD*> Catalogue::ajouterLot(const QList<ValeursAlbum>& valeurs)
{
    // Pairs of shared texts: no text is copied to build a key.
    QSet<std::pair<QString, QString>> tenus;
    tenus.reserve(m_albums.size() + valeurs.size());
    for (const BD* album : std::as_const(m_albums))
        tenus.insert({ album->getSerie(), album->getTitre() });
    QList<BD*> ajoutes;
    ajoutes.reserve(valeurs.size());
    for (const ValeursAlbum& v : valeurs) {
        const qsizetype avant = tenus.size();
        tenus.insert({ v.serie, v.titre });
        ajoutes.append(tenus.size() > avant ? creer(partager(v)) : nullptr);
    }
    return ajoutes;
}

ResultatEdition Catalogue::modifier(
    const QString& serie, const QString& titre, const ValeursAlbum& valeurs)
{
    const ValeursAlbum v = partager(valeurs);
    BD* album = premierAlbum(serie, titre);
    if (!album)
        return { ResultatEdition::Introuvable, nullptr, false };
    // The table, the loans and the explorer name an album by its series and
    // title: a change must not make two albums answer to the same pair.
    if (v.serie != serie || v.titre != titre) {
        const BD* autre = premierAlbum(v.serie, v.titre);
        if (autre && autre != album)
            return { ResultatEdition::Doublon, album, false };
    }
    ++m_revisionContenuHorsAjouts;
    prevenir(*album);
    album->setSerie(v.serie);
    album->setTitre(v.titre);
    album->setDessinateur(v.dessinateur);
    album->setScenariste(v.scenariste);
    album->setColoriste(v.coloriste);
    album->setEditeur(v.editeur);
    album->setCommentaire(v.commentaire);
    album->setGenre(v.genre);
    album->tome = v.tome;
    album->note = v.note;
    album->type = v.type;
    album->serieFinie = v.serieFinie;
    const bool serieCreee = integrerSerie(album);
    return { ResultatEdition::Fait, album, serieCreee };
}

namespace {

void compterAlbum(Compteurs& compteurs, const BD* album)
{
    ++compteurs.total;
    if (album->type == Comic)
        ++compteurs.comics;
    else if (album->type == Manga)
        ++compteurs.manga;
    else
        ++compteurs.euro;
}

} // namespace

bool Catalogue::attacher(BD* album)
{
    // Counts that were up to date stay so: a load is not counted again.
    const bool comptesAJour = m_revisionCompteurs == m_revisionContenu;
    m_albums.append(album);
    const bool serieCreee = integrerSerie(album);
    if (comptesAJour) {
        compterAlbum(m_compteurs, album);
        m_revisionCompteurs = m_revisionContenu;
    }
    return serieCreee;
}

namespace {

size_t caseDuTampon(const QChar* tampon, size_t masque)
{
    // Fibonacci hashing: buffers are aligned, their low bits alike.
    return size_t((quintptr(tampon) * 0x9E3779B97F4A7C15ULL) >> 20) & masque;
}

} // namespace

void Catalogue::indexerTampon(Serie* serie)
{
    if (size_t(m_nbParTampon + 1) * 2 > m_seriesParTampon.size()) {
        m_seriesParTampon.assign(qMax<size_t>(1024, m_seriesParTampon.size() * 2), {});
        m_nbParTampon = 0;
        for (Serie* autre : std::as_const(m_series)) {
            if (autre != serie)
                indexerTampon(autre);
        }
    }
    const QChar* tampon = serie->nomSansCopie().constData();
    const size_t masque = m_seriesParTampon.size() - 1;
    size_t i = caseDuTampon(tampon, masque);
    while (m_seriesParTampon[i].second && m_seriesParTampon[i].first != tampon)
        i = (i + 1) & masque;
    if (!m_seriesParTampon[i].second)
        ++m_nbParTampon;
    m_seriesParTampon[i] = { tampon, serie };
}

void Catalogue::reindexerTampons()
{
    m_seriesParTampon.assign(m_seriesParTampon.size(), {});
    m_nbParTampon = 0;
    for (Serie* serie : std::as_const(m_series))
        indexerTampon(serie);
}

Serie* Catalogue::serieDuNom(const QString& nom)
{
    if (!m_seriesParTampon.empty()) {
        const QChar* tampon = nom.constData();
        const size_t masque = m_seriesParTampon.size() - 1;
        for (size_t i = caseDuTampon(tampon, masque); m_seriesParTampon[i].second;
             i = (i + 1) & masque) {
            if (m_seriesParTampon[i].first == tampon
                && m_seriesParTampon[i].second->partageLeTamponDuNom(nom))
                return m_seriesParTampon[i].second;
        }
    }
    return findSerie(nom);
}

bool Catalogue::integrerSerie(const BD* album)
{
    ++m_revisionContenu;
    if (Serie* serie = serieDuNom(album->serieSansCopie())) {
        if (serie->tomeMax < album->tome)
            serie->tomeMax = album->tome;
        if (album->serieFinie != 0)
            serie->serieFinie = album->serieFinie;
        return false;
    }
    ajouterSerie(new Serie(album->getSerie(), album->tome, album->serieFinie, album->type));
    return true;
}

void Catalogue::ajouterSerie(Serie* serie)
{
    m_series.append(serie);
    m_indexSeries.insert(serie->getNom(), serie);
    indexerTampon(serie);
    if (QList<Serie*>* genre = listeDuGenre(serie->type))
        genre->append(serie);
}

QList<Serie*>* Catalogue::listeDuGenre(int type)
{
    switch (type) {
    case Euro:
        return &m_seriesEuro;
    case Comic:
        return &m_seriesComics;
    case Manga:
        return &m_seriesManga;
    default:
        return nullptr;
    }
}

void Catalogue::noterChangement(bool positions)
{
    ++m_revisionContenu;
    ++m_revisionContenuHorsAjouts;
    if (positions)
        ++m_revisionPositions;
}

int Catalogue::retirerAlbum(BD* album)
{
    const int position = int(m_albums.indexOf(album));
    if (position >= 0) {
        // Views let go of it as of a destroyed album.
        prevenir(*album);
        m_albums.removeAt(position);
        noterChangement(true);
    }
    return position;
}

void Catalogue::remettreAlbum(BD* album, int position)
{
    m_albums.insert(qBound(0, position, int(m_albums.size())), album);
    if (!findSerie(album->getSerie()))
        integrerSerie(album);
    noterChangement(true);
}

SerieRetiree Catalogue::retirerSerie(const QString& nom)
{
    SerieRetiree retiree;
    noterChangement(true);
    QList<BD*> restants;
    restants.reserve(m_albums.size());
    for (int position = 0; position < m_albums.size(); ++position) {
        BD* album = m_albums.at(position);
        if (album->getSerie() == nom) {
            prevenir(*album);
            retiree.albums.append({ position, album });
        } else
            restants.append(album);
    }
    m_albums.swap(restants);
    retirerFiche(nom, retiree);
    return retiree;
}

void Catalogue::retirerFiche(const QString& nom, SerieRetiree& retiree)
{
    retiree.serie = m_indexSeries.take(nom);
    if (!retiree.serie)
        return;
    retiree.rangSeries = int(m_series.indexOf(retiree.serie));
    m_series.removeAt(retiree.rangSeries);
    reindexerTampons();
    if (QList<Serie*>* genre = listeDuGenre(retiree.serie->type)) {
        retiree.rangGenre = int(genre->indexOf(retiree.serie));
        if (retiree.rangGenre >= 0)
            genre->removeAt(retiree.rangGenre);
    }
}

void Catalogue::remettreSerie(const SerieRetiree& retiree)
{
    noterChangement(true);
    remettreFiche(retiree);
    // Ascending positions: each lands where it stood once those before it are
    // back. One merge, not one insertion (a move of the whole list) per album.
    QList<BD*> fusion;
    fusion.reserve(m_albums.size() + retiree.albums.size());
    qsizetype suivant = 0;
    for (const auto& [position, album] : retiree.albums) {
        while (fusion.size() < position && suivant < m_albums.size())
            fusion.append(m_albums.at(suivant++));
        fusion.append(album);
    }
    while (suivant < m_albums.size())
        fusion.append(m_albums.at(suivant++));
    m_albums.swap(fusion);
}

void Catalogue::remettreFiche(const SerieRetiree& retiree)
{
    Serie* serie = retiree.serie;
    if (!serie)
        return;
    m_series.insert(qBound(0, retiree.rangSeries, int(m_series.size())), serie);
    m_indexSeries.insert(serie->getNom(), serie);
    indexerTampon(serie);
    QList<Serie*>* genre = listeDuGenre(serie->type);
    if (genre && retiree.rangGenre >= 0)
        genre->insert(qBound(0, retiree.rangGenre, int(genre->size())), serie);
}

void Catalogue::remettreChamps(BD* album, const ChampsAlbum& champs)
{
    prevenir(*album);
    album->setChamps(champs);
    noterChangement(false);
}

void Catalogue::changerChamps(BD* album, const ChampsAlbum& champs)
{
    const ChampsAlbum avant = album->champs();
    remettreChamps(album, champs);
    if (champs.serie != avant.serie || champs.tome != avant.tome
        || champs.serieFinie != avant.serieFinie)
        integrerSerie(album);
}

EtatSerie Catalogue::etatSerie(const QString& nom) const
{
    const Serie* serie = findSerie(nom);
    if (!serie)
        return { nom, false, 0, 0 };
    return { nom, true, serie->tomeMax, serie->serieFinie };
}

void Catalogue::restaurerSerie(const EtatSerie& etat)
{
    Serie* serie = findSerie(etat.nom);
    if (!serie)
        return;
    noterChangement(false);
    if (etat.existait) {
        serie->tomeMax = etat.tomeMax;
        serie->serieFinie = etat.serieFinie;
        return;
    }
    for (const BD* album : std::as_const(m_albums)) {
        if (album->getSerie() == etat.nom)
            return;
    }
    delete retirerSerie(etat.nom).serie;
}

SeriesAvantAjout Catalogue::releverSeries() const
{
    SeriesAvantAjout avant;
    avant.nbAlbums = m_albums.size();
    avant.nbSeries = m_series.size();
    avant.valeurs.reserve(m_series.size());
    for (qsizetype i = 0; i < m_series.size(); ++i)
        avant.valeurs.append({ i, m_series.at(i)->tomeMax, m_series.at(i)->serieFinie });
    return avant;
}

void SeriesAvantAjout::compacter(const QList<Serie*>& series)
{
    QList<Valeurs> changees;
    for (const Valeurs& v : std::as_const(valeurs)) {
        const Serie* serie = series.value(v.position);
        if (serie && (serie->tomeMax != v.tomeMax || serie->serieFinie != v.serieFinie))
            changees.append(v);
    }
    valeurs.swap(changees);
}

QList<BD*> Catalogue::retirerAjout(const SeriesAvantAjout& avant)
{
    noterChangement(true);
    const qsizetype debut = qBound(qsizetype(0), avant.nbAlbums, m_albums.size());
    const QList<BD*> retires = m_albums.mid(debut);
    for (const BD* album : retires)
        prevenir(*album);
    m_albums.resize(debut);
    // Series created by the addition were appended last, to their kind's list too.
    while (m_series.size() > avant.nbSeries) {
        Serie* serie = m_series.takeLast();
        m_indexSeries.remove(serie->getNom());
        if (QList<Serie*>* genre = listeDuGenre(serie->type))
            genre->removeOne(serie);
        delete serie;
    }
    reindexerTampons();
    for (const SeriesAvantAjout::Valeurs& v : avant.valeurs) {
        if (Serie* serie = m_series.value(v.position)) {
            serie->tomeMax = v.tomeMax;
            serie->serieFinie = v.serieFinie;
        }
    }
    return retires;
}

ExamenRenommage Catalogue::examinerRenommage(const QString& ancien, const QString& nouveau) const
{
    ExamenRenommage examen;
    if (nouveau.isEmpty() || nouveau.contains(QLatin1Char(';'))) {
        examen.etat = ExamenRenommage::NomInvalide;
        return examen;
    }
    if (nouveau == ancien || !findSerie(ancien))
        return examen;
    // One walk: the titles the other series holds, and the albums that move.
    QSet<QString> titresCible;
    QList<const BD*> deplaces;
    for (const BD* album : m_albums) {
        if (album->getSerie() == nouveau)
            titresCible.insert(album->getTitre());
        else if (album->getSerie() == ancien)
            deplaces.append(album);
    }
    examen.nbAlbums = int(deplaces.size());
    for (const BD* album : std::as_const(deplaces)) {
        if (titresCible.contains(album->getTitre())) {
            examen.etat = ExamenRenommage::Doublon;
            examen.collision = album;
            return examen;
        }
    }
    examen.etat = findSerie(nouveau) ? ExamenRenommage::Fusion : ExamenRenommage::Renommage;
    return examen;
}

SerieRenommee Catalogue::renommerSerie(const QString& ancien, const QString& nouveau)
{
    SerieRenommee renommee;
    const ExamenRenommage::Etat etat = examinerRenommage(ancien, nouveau).etat;
    if (etat != ExamenRenommage::Renommage && etat != ExamenRenommage::Fusion)
        return renommee;
    noterChangement(false);
    Serie* source = findSerie(ancien);
    renommee.fait = true;
    renommee.ancien = source->getNom();
    renommee.nouveau = m_textes.partager(nouveau);
    renommee.cible = etatSerie(nouveau);
    for (BD* album : std::as_const(m_albums)) {
        if (album->getSerie() == ancien) {
            prevenir(*album);
            album->setSerie(renommee.nouveau);
            renommee.albums.append(album);
        }
    }
    if (Serie* cible = findSerie(nouveau)) {
        retirerFiche(ancien, renommee.source);
        cible->tomeMax = qMax(cible->tomeMax, source->tomeMax);
        if (source->serieFinie != 0)
            cible->serieFinie = source->serieFinie;
    } else {
        m_indexSeries.remove(ancien);
        source->renommer(renommee.nouveau);
        m_indexSeries.insert(renommee.nouveau, source);
    }
    reindexerTampons();
    return renommee;
}

void Catalogue::annulerRenommage(const SerieRenommee& renommee)
{
    if (!renommee.fait)
        return;
    noterChangement(false);
    for (BD* album : renommee.albums) {
        prevenir(*album);
        album->setSerie(renommee.ancien);
    }
    if (renommee.cible.existait) {
        restaurerSerie(renommee.cible);
        remettreFiche(renommee.source);
    } else if (Serie* serie = m_indexSeries.take(renommee.nouveau)) {
        serie->renommer(renommee.ancien);
        m_indexSeries.insert(renommee.ancien, serie);
    }
    reindexerTampons();
}

QByteArray Catalogue::empreinte() const
{
    QCryptographicHash hachage(QCryptographicHash::Sha1);
    const auto texte = [&hachage](const QString& valeur) {
        hachage.addData(QByteArrayView(reinterpret_cast<const char*>(valeur.utf16()),
            valeur.size() * qsizetype(sizeof(char16_t))));
        hachage.addData(QByteArrayView("\0\0", 2));
    };
    const auto nombre = [&texte](double valeur) { texte(QString::number(valeur, 'g', 17)); };
    for (const BD* album : m_albums) {
        const ChampsAlbum c = album->champs();
        for (const QString* valeur : { &c.serie, &c.titre, &c.dessinateur, &c.scenariste,
                 &c.editeur, &c.commentaire, &c.genre, &c.image, &c.emprunteur, &c.dateEmprunt,
                 &c.texte15, &c.texte19, &c.coloriste })
            texte(*valeur);
        for (double valeur : { double(c.tome), double(c.entier8), c.reel13, double(c.type),
                 double(c.note), double(c.serieFinie), double(c.nbEmprunts) })
            nombre(valeur);
    }
    return hachage.result();
}

void Catalogue::supprimerAlbum(BD* album)
{
    ++m_revisionContenu;
    ++m_revisionContenuHorsAjouts;
    if (m_albums.removeOne(album)) {
        prevenir(*album);
        delete album;
        ++m_revisionPositions;
    }
}

int Catalogue::supprimerSerie(const QString& nom)
{
    const SerieRetiree retiree = retirerSerie(nom);
    for (const auto& retire : retiree.albums)
        delete retire.second;
    delete retiree.serie;
    return int(retiree.albums.size());
}

void Catalogue::vider()
{
    ++m_revisionContenu;
    ++m_revisionContenuHorsAjouts;
    if (!m_suivis.isEmpty()) {
        for (const BD* album : std::as_const(m_albums))
            prevenir(*album);
    }
    qDeleteAll(m_albums);
    qDeleteAll(m_series);
    m_albums.clear();
    m_series.clear();
    m_seriesEuro.clear();
    m_seriesComics.clear();
    m_seriesManga.clear();
    m_indexSeries.clear();
    m_seriesParTampon.clear();
    m_nbParTampon = 0;
    m_textes.vider();
    ++m_revisionPositions;
}

void Catalogue::abandonner()
{
    for (SuiviAlbums* suivi : std::as_const(m_suivis))
        suivi->catalogueDetruit();
    m_suivis.clear();
    m_albums.clear();
    m_series.clear();
    vider();
}

void Catalogue::echanger(Catalogue& autre)
{
    // The views following the albums that leave are told, as by vider().
    if (!m_suivis.isEmpty()) {
        for (const BD* album : std::as_const(m_albums))
            prevenir(*album);
    }
    m_albums.swap(autre.m_albums);
    m_series.swap(autre.m_series);
    m_seriesEuro.swap(autre.m_seriesEuro);
    m_seriesComics.swap(autre.m_seriesComics);
    m_seriesManga.swap(autre.m_seriesManga);
    m_indexSeries.swap(autre.m_indexSeries);
    m_seriesParTampon.swap(autre.m_seriesParTampon);
    std::swap(m_nbParTampon, autre.m_nbParTampon);
    std::swap(m_textes, autre.m_textes);
    ++m_revisionPositions;
    ++autre.m_revisionPositions;
    for (Catalogue* change : { this, &autre }) {
        ++change->m_revisionContenu;
        ++change->m_revisionContenuHorsAjouts;
    }
}

Compteurs Catalogue::compter() const
{
    // Every refresh of the lists counts: once per change.
    if (m_revisionCompteurs == m_revisionContenu)
        return m_compteurs;
    m_revisionCompteurs = m_revisionContenu;
    m_compteurs = {};
    for (const BD* album : m_albums)
        compterAlbum(m_compteurs, album);
    return m_compteurs;
}
