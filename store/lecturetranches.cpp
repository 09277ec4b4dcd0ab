#include "store/lecturetranches.h"

#include "model/bd.h"
#include "model/catalogue.h"
#include "model/textespartages.h"
#include "store/decodage.h"
#include "store/decoupelignes.h"
#include "store/detectionencodage.h"
#include "store/fichiercollection.h"
#include "store/lignecollection.h"

#include <QHashFunctions>
#include <QTextCodec>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace LectureTranches {

namespace {

using DetectionEncodage::NatureUtf8;
using LigneCollection::champsPartages;

std::atomic<qsizetype> tailleTranche { qsizetype(256) << 10 };

// The shared texts one parser has met, each looked up once in the
// catalogue's table, or else in the texts new to this reading; the parsers
// take both tables in turn. Open addressing, linear probing.
class TextesDuParseur
{
public:
    TextesDuParseur(const TextesPartages& communs, TextesPartages& nouveaux, std::mutex& verrou)
        : m_communs(&communs)
        , m_nouveaux(&nouveaux)
        , m_verrou(&verrou)
    {
    }

    QString partager(QStringView texte)
    {
        if ((m_nombre + 1) * 2 > m_textes.size())
            agrandir();
        const quint32 empreinte = quint32(qHash(texte));
        const qsizetype masque = m_textes.size() - 1;
        qsizetype i = empreinte & masque;
        for (; !m_textes.at(i).isNull(); i = (i + 1) & masque) {
            if (m_empreintes[size_t(i)] == empreinte && m_textes.at(i) == texte)
                return m_textes.at(i);
        }
        {
            const std::lock_guard<std::mutex> garde(*m_verrou);
            m_textes[i] = m_communs->trouver(texte);
            if (m_textes.at(i).isNull())
                m_textes[i] = m_nouveaux->partager(texte);
        }
        m_empreintes[size_t(i)] = empreinte;
        ++m_nombre;
        return m_textes.at(i);
    }

private:
    void agrandir()
    {
        QList<QString> anciens(qMax<qsizetype>(256, m_textes.size() * 2));
        anciens.swap(m_textes);
        std::vector<quint32> empreintes(size_t(m_textes.size()));
        empreintes.swap(m_empreintes);
        const qsizetype masque = m_textes.size() - 1;
        for (qsizetype j = 0; j < anciens.size(); ++j) {
            if (anciens.at(j).isNull())
                continue;
            qsizetype i = empreintes[size_t(j)] & masque;
            while (!m_textes.at(i).isNull())
                i = (i + 1) & masque;
            m_textes[i].swap(anciens[j]);
            m_empreintes[size_t(i)] = empreintes[size_t(j)];
        }
    }

    const TextesPartages* m_communs;
    TextesPartages* m_nouveaux;
    std::mutex* m_verrou;
    QList<QString> m_textes; // null: free (a shared text is never empty)
    std::vector<quint32> m_empreintes;
    qsizetype m_nombre = 0;
};

// A line read: the album's fields and the end of the line in the slice's text.
struct AlbumLu
{
    ChampsAlbum champs;
    qint32 fin = 0;
};

struct Tranche
{
    qsizetype debut = 0;
    qsizetype fin = 0;
    // Written by its parser, read by the reading thread once prete.
    std::vector<AlbumLu> albums;
    qsizetype longueurTexte = 0;
    int nbLignes = 0;
    int ligneFautive = 0; // from 1 in the slice; 0 when every line is an album
    QString texteFautif;
    int nbChamps = 0;
    qint32 finFautive = 0;
    int invalides = 0;
    int ligneInvalide = 0; // from 1 in the slice
    NatureUtf8 nature = NatureUtf8::Ascii;
    bool prete = false;
};

int compterLignes(QStringView texte)
{
    return int(texte.count(QLatin1Char('\n')))
        + (!texte.isEmpty() && texte.back() != QLatin1Char('\n'));
}

class Lecteur
{
public:
    Lecteur(Catalogue& catalogue, const Avancement& avancement)
        : m_catalogue(catalogue)
        , m_avancement(avancement)
    {
    }

    LectureCollection lire(QStringView texte)
    {
        m_texte = texte;
        m_taille = texte.size();
        return lire();
    }

    LectureCollection lire(const QByteArray& octets, QTextCodec* codec)
    {
        m_octets = octets.constData();
        m_taille = octets.size();
        m_codec = codec;
        m_natureUtf8 = !DetectionEncodage::unicode(codec);
        return lire();
    }

private:
    LectureCollection lire();
    void couper();
    void travailler(int parseur);
    void analyser(int indice, int parseur);
    void lireLignes(Tranche& tranche, QStringView texte, TextesDuParseur& textes);
    void publier(Tranche& tranche);
    bool attacher(Tranche& tranche);
    void signaler(const Tranche& tranche, qint64 numero, qsizetype fin);

    Catalogue& m_catalogue;
    const Avancement& m_avancement;
    QStringView m_texte;
    const char* m_octets = nullptr;
    QTextCodec* m_codec = nullptr;
    bool m_natureUtf8 = false;
    qsizetype m_taille = 0;

    std::vector<Tranche> m_tranches;
    std::mutex m_verrouTextes; // over the catalogue's shared texts and m_nouveauxTextes
    // Texts the catalogue did not hold: those of attached albums join it at
    // the end, never those of lines read past a bad one.
    TextesPartages m_nouveauxTextes;
    std::vector<TextesDuParseur> m_textes; // one per parser
    // Slices past the first bad line are decoded for their bytes, not split.
    std::atomic<int> m_derniereUtile { INT_MAX };

    std::mutex m_verrou; // over what follows and every slice's prete
    std::condition_variable m_pret; // a slice is ready
    std::condition_variable m_place; // the reading thread has moved on
    int m_prochaine = 0; // next slice to split
    int m_suivante = 0; // next slice to attach
    // Parsers keep at most this many slices ahead of the reading thread, so
    // that the room of attached slices serves again (fresh memory costs a
    // page fault per page) and little is held at once.
    int m_avanceMax = 0;
    std::vector<std::vector<AlbumLu>> m_recycles;

    LectureCollection m_lecture;
    qint64 m_lignesLues = 0;
};

void Lecteur::couper()
{
    const qsizetype pas = qMax<qsizetype>(1, tailleTranche.load());
    qsizetype debut = 0;
    while (debut < m_taille) {
        qsizetype fin = m_taille;
        if (m_taille - debut > pas) {
            const qsizetype depuis = debut + pas - 1;
            qsizetype saut = -1;
            if (m_octets) {
                const void* trouve
                    = std::memchr(m_octets + depuis, '\n', size_t(m_taille - depuis));
                saut = trouve ? static_cast<const char*>(trouve) - m_octets : -1;
            } else {
                saut = m_texte.indexOf(QLatin1Char('\n'), depuis);
            }
            if (saut >= 0)
                fin = saut + 1;
        }
        Tranche& tranche = m_tranches.emplace_back();
        tranche.debut = debut;
        tranche.fin = fin;
        debut = fin;
    }
}

LectureCollection Lecteur::lire()
{
    couper();
    const int nbTranches = int(m_tranches.size());
    // Beyond a few parsers, the albums made on this thread set the pace.
    constexpr int travailleursUtiles = 3;
    const int nbTravailleurs = qMax(
        0, std::min({ QThread::idealThreadCount() - 1, nbTranches - 1, travailleursUtiles }));
    m_avanceMax = 4 * (nbTravailleurs + 1);
    for (int parseur = 0; parseur <= nbTravailleurs; ++parseur)
        m_textes.emplace_back(m_catalogue.textesPartages(), m_nouveauxTextes, m_verrouTextes);
    std::vector<std::thread> travailleurs;
    for (int parseur = 1; parseur <= nbTravailleurs; ++parseur) {
        try {
            travailleurs.emplace_back([this, parseur] { travailler(parseur); });
        } catch (const std::system_error&) {
            break; // no thread to be had: fewer hands, same result
        }
    }

    // This thread splits slices too while the next one in file order is not ready.
    bool arret = false;
    int premierInvalide = 0;
    bool pasUtf8 = false;
    bool utf8 = false;
    for (int suivante = 0; suivante < nbTranches;) {
        Tranche& tranche = m_tranches[size_t(suivante)];
        int aAnalyser = -1;
        {
            std::unique_lock<std::mutex> garde(m_verrou);
            if (!tranche.prete && m_prochaine < nbTranches
                && m_prochaine < m_suivante + m_avanceMax)
                aAnalyser = m_prochaine++;
            else
                m_pret.wait(garde, [&tranche] { return tranche.prete; });
        }
        if (aAnalyser >= 0) {
            analyser(aAnalyser, 0);
            continue;
        }
        // Past a bad line, only the decoding's findings count.
        arret = arret || !attacher(tranche);
        if (tranche.invalides > 0 && premierInvalide == 0)
            premierInvalide = int(m_lignesLues) + tranche.ligneInvalide;
        m_lecture.sequencesInvalides += tranche.invalides;
        pasUtf8 = pasUtf8 || tranche.nature == NatureUtf8::PasUtf8;
        utf8 = utf8 || tranche.nature == NatureUtf8::Utf8;
        m_lignesLues += tranche.nbLignes;
        std::vector<AlbumLu> place = std::move(tranche.albums);
        tranche = Tranche();
        place.clear();
        {
            const std::lock_guard<std::mutex> garde(m_verrou);
            m_recycles.push_back(std::move(place));
            m_suivante = ++suivante;
        }
        m_place.notify_all();
    }
    for (std::thread& travailleur : travailleurs)
        travailleur.join();
    m_textes.clear();
    m_nouveauxTextes.verserDans(m_catalogue.textesPartages());

    if (m_lecture.sequencesInvalides > 0)
        m_lecture.ligneSequenceInvalide = premierInvalide;
    m_lecture.utf8EnMonoOctet
        = m_natureUtf8 && m_lecture.sequencesInvalides == 0 && utf8 && !pasUtf8;
    if (m_avancement)
        m_avancement(m_taille, m_taille);
    return m_lecture;
}

void Lecteur::travailler(int parseur)
{
    const int nbTranches = int(m_tranches.size());
    for (;;) {
        int indice = 0;
        {
            std::unique_lock<std::mutex> garde(m_verrou);
            m_place.wait(garde, [this, nbTranches] {
                return m_prochaine >= nbTranches || m_prochaine < m_suivante + m_avanceMax;
            });
            if (m_prochaine >= nbTranches)
                return;
            indice = m_prochaine++;
        }
        analyser(indice, parseur);
    }
}

void Lecteur::analyser(int indice, int parseur)
{
    Tranche& tranche = m_tranches[size_t(indice)];
    QString decode;
    QStringView texte;
    if (m_octets) {
        const char* octets = m_octets + tranche.debut;
        const qsizetype taille = tranche.fin - tranche.debut;
        tranche.invalides
            = Decodage::invalides(m_codec, octets, taille, &decode, tranche.debut == 0);
        if (tranche.invalides > 0)
            tranche.ligneInvalide = Decodage::premiereLigneInvalide(m_codec, octets, taille);
        if (m_natureUtf8)
            tranche.nature = DetectionEncodage::natureUtf8(octets, taille);
        texte = decode;
    } else {
        texte = m_texte.sliced(tranche.debut, tranche.fin - tranche.debut);
    }
    tranche.longueurTexte = texte.size();
    if (indice <= m_derniereUtile.load())
        lireLignes(tranche, texte, m_textes[size_t(parseur)]);
    else
        tranche.nbLignes = compterLignes(texte);
    if (tranche.ligneFautive > 0) {
        int attendue = m_derniereUtile.load();
        while (indice < attendue && !m_derniereUtile.compare_exchange_weak(attendue, indice)) { }
    }
    publier(tranche);
}

void Lecteur::lireLignes(Tranche& tranche, QStringView texte, TextesDuParseur& textes)
{
    const qsizetype taille = texte.size();
    {
        const std::lock_guard<std::mutex> garde(m_verrou);
        if (!m_recycles.empty()) {
            tranche.albums = std::move(m_recycles.back());
            m_recycles.pop_back();
        }
    }
    // A line takes more than 60 characters: the room is reserved once.
    tranche.albums.reserve(size_t(taille / 60 + 1));
    DecoupeLignes<QStringView> lignes(texte);
    int numero = 0;
    for (QStringView brute; lignes.suivante(brute);) {
        const QStringView ligne = sansRetourChariot(brute);
        ++numero;

        const LigneCollection::Parties parties = LigneCollection::decouper(ligne);
        if (!parties.valides()) {
            constexpr int montree = FichierCollection::longueurLigneMontree;
            tranche.ligneFautive = numero;
            tranche.texteFautif = ligne.size() > montree
                ? ligne.left(montree).toString() + QChar(0x2026)
                : ligne.toString();
            tranche.nbChamps = parties.nombre;
            tranche.finFautive = qint32(lignes.position());
            tranche.nbLignes = numero + compterLignes(texte.sliced(lignes.position()));
            return;
        }
        AlbumLu& album = tranche.albums.emplace_back();
        LigneCollection::remplirPropres(parties, album.champs);
        for (const LigneCollection::ChampPartage& champ : champsPartages) {
            // The colourist of a 19-field line stays null, an empty field empty.
            if (champ.colonne >= parties.nombre)
                continue;
            const QStringView valeur = parties.champs[champ.colonne];
            album.champs.*champ.membre
                = valeur.isEmpty() ? valeur.toString() : textes.partager(valeur);
        }
        album.fin = qint32(lignes.position());
    }
    tranche.nbLignes = numero;
}

void Lecteur::publier(Tranche& tranche)
{
    {
        const std::lock_guard<std::mutex> garde(m_verrou);
        tranche.prete = true;
    }
    m_pret.notify_all();
}

// Progress told as the reading line by line tells it: at every pasAvancement-th
// line, the position past it (within a decoded slice, in proportion).
void Lecteur::signaler(const Tranche& tranche, qint64 numero, qsizetype fin)
{
    if (numero % pasAvancement != 0 || !m_avancement)
        return;
    const qsizetype longueur = tranche.fin - tranche.debut;
    const qsizetype position = tranche.longueurTexte == longueur || tranche.longueurTexte == 0
        ? fin
        : qsizetype(double(fin) * double(longueur) / double(tranche.longueurTexte));
    // What runs meanwhile on this thread (the listener repaints) never
    // meets a parser in the shared texts.
    const std::lock_guard<std::mutex> garde(m_verrouTextes);
    m_avancement(tranche.debut + qMin(position, longueur), m_taille);
}

bool Lecteur::attacher(Tranche& tranche)
{
    qint64 numero = m_lignesLues;
    for (AlbumLu& album : tranche.albums) {
        signaler(tranche, ++numero, album.fin);
        m_catalogue.attacher(new BD(std::move(album.champs)));
        ++m_lecture.albumsLus;
    }
    if (tranche.ligneFautive == 0)
        return true;
    signaler(tranche, ++numero, tranche.finFautive);
    m_lecture.etat = LectureCollection::LigneInvalide;
    m_lecture.ligneFautive = tranche.texteFautif;
    m_lecture.nbChamps = tranche.nbChamps;
    m_lecture.numeroLigne = int(numero);
    return false;
}

} // namespace

qsizetype taille()
{
    return tailleTranche.load();
}

void setTaille(qsizetype taille)
{
    tailleTranche.store(taille);
}

LectureCollection lireTexte(QStringView texte, Catalogue& catalogue, const Avancement& avancement)
{
    return Lecteur(catalogue, avancement).lire(texte);
}

LectureCollection lireOctets(
    const QByteArray& octets, QTextCodec* codec, Catalogue& catalogue, const Avancement& avancement)
{
    return Lecteur(catalogue, avancement).lire(octets, codec);
}

} // namespace LectureTranches
