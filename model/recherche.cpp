#include "model/recherche.h"

#include "model/bd.h"
#include "model/catalogue.h"
#include "model/serie.h"

#include <QHash>

#include <array>

namespace {

constexpr char16_t finTableLatine = 0x250;

// Latin letters beyond ASCII, each already reduced, so that a search never
// decomposes a character at a keystroke.
const std::array<QString, finTableLatine>& tableLatine()
{
    static const std::array<QString, finTableLatine> table = [] {
        std::array<QString, finTableLatine> t;
        for (char16_t code = 0x80; code < finTableLatine; ++code) {
            const QString decompose = QString(QChar(code)).normalized(QString::NormalizationForm_KD);
            QString reduit;
            for (const QChar c : decompose) {
                if (c.category() != QChar::Mark_NonSpacing)
                    reduit += c.toLower();
            }
            t[code] = reduit;
        }
        // Ligatures and sharp s have no decomposition.
        t[0x00C6] = t[0x00E6] = QStringLiteral("ae");
        t[0x0152] = t[0x0153] = QStringLiteral("oe");
        t[0x00DF] = QStringLiteral("ss");
        t[0x00D8] = t[0x00F8] = QStringLiteral("o");
        t[0x0141] = t[0x0142] = QStringLiteral("l");
        t[0x0110] = t[0x0111] = QStringLiteral("d");
        return t;
    }();
    return table;
}

void ajouterReduit(QString& resultat, QChar c)
{
    const char16_t code = c.unicode();
    if (code < 0x80) {
        resultat += (code >= 'A' && code <= 'Z') ? QChar(code + 32) : c;
    } else if (code < finTableLatine) {
        resultat += tableLatine()[code];
    } else if (c.isSurrogate()) {
        resultat += c;
    } else {
        for (const QChar d : QString(c).normalized(QString::NormalizationForm_KD)) {
            if (d.category() != QChar::Mark_NonSpacing)
                resultat += d.toLower();
        }
    }
}

constexpr QChar separateur = u'\n'; // no line edit gives one, so no hit spans two words

} // namespace

namespace Recherche {

QString minusculesSansAccents(const QString& texte)
{
    QString resultat;
    resultat.reserve(texte.size());
    for (const QChar c : texte)
        ajouterReduit(resultat, c);
    return resultat;
}

} // namespace Recherche

void IndexRecherche::reconstruire(const Catalogue& catalogue)
{
    m_catalogue = &catalogue;
    m_revisionContenuHorsAjouts = catalogue.revisionContenuHorsAjouts();
    m_nbAlbums = 0;
    m_noms.clear();
    m_textes.clear();
    m_numeros.clear();
    m_auteurs.clear();
    m_auteursReduits.clear();
    m_auteursEcrits.clear();
    m_numeros.reserve(catalogue.series().size());
    ajouterNouveaux(catalogue);
}

void IndexRecherche::ajouterNouveaux(const Catalogue& catalogue)
{
    m_dernierMotif.clear();
    m_derniersTrouves.clear();
    const QList<Serie*>& series = catalogue.series();
    for (qsizetype numero = m_noms.size(); numero < series.size(); ++numero) {
        const QString nom = series.at(numero)->getNom();
        m_numeros.insert(nom, int(numero));
        m_noms.append(nom);
        m_textes.append(Recherche::minusculesSansAccents(nom) + separateur);
        m_auteursEcrits.append(QList<int>());
    }

    const QList<BD*>& albums = catalogue.albums();
    for (qsizetype rang = m_nbAlbums; rang < albums.size(); ++rang) {
        const BD* album = albums.at(rang);
        const auto trouve = m_numeros.constFind(album->getSerie());
        if (trouve == m_numeros.cend())
            continue;
        QString& texte = m_textes[*trouve];
        for (const QChar c : album->getTitre())
            ajouterReduit(texte, c);
        texte += separateur;
        for (const QString& auteur : { album->getScenariste(), album->getDessinateur() }) {
            if (auteur.isEmpty())
                continue;
            auto connu = m_auteurs.constFind(auteur);
            if (connu == m_auteurs.cend()) {
                connu = m_auteurs.insert(auteur, int(m_auteursReduits.size()));
                m_auteursReduits.append(Recherche::minusculesSansAccents(auteur));
            }
            QList<int>& ecrits = m_auteursEcrits[*trouve];
            if (!ecrits.contains(*connu)) {
                ecrits.append(*connu);
                texte += m_auteursReduits.at(*connu);
                texte += separateur;
            }
        }
    }
    m_nbAlbums = albums.size();
    m_revisionContenu = catalogue.revisionContenu();
}

QList<int> IndexRecherche::chercher(const QString& motif, const QList<int>* parmi) const
{
    QList<int> trouves;
    const QStringMatcher chercheur(motif);
    auto essayer = [&](int numero) {
        if (chercheur.indexIn(m_textes.at(numero)) >= 0)
            trouves.append(numero);
    };
    if (parmi) {
        for (const int numero : *parmi)
            essayer(numero);
    } else {
        for (int numero = 0; numero < m_textes.size(); ++numero)
            essayer(numero);
    }
    return trouves;
}

void IndexRecherche::preparer(const Catalogue& catalogue)
{
    if (m_catalogue != &catalogue
        || m_revisionContenuHorsAjouts != catalogue.revisionContenuHorsAjouts())
        reconstruire(catalogue);
    else if (m_revisionContenu != catalogue.revisionContenu())
        ajouterNouveaux(catalogue);
}

QSet<QString> IndexRecherche::seriesTrouvees(const Catalogue& catalogue, const QString& texte)
{
    preparer(catalogue);

    const QString motif = Recherche::minusculesSansAccents(texte);
    QList<int> trouves;
    if (motif.isEmpty()) {
        trouves.resize(m_noms.size());
        for (int numero = 0; numero < m_noms.size(); ++numero)
            trouves[numero] = numero;
    } else {
        const bool affine = !m_dernierMotif.isEmpty() && motif.contains(m_dernierMotif);
        trouves = chercher(motif, affine ? &m_derniersTrouves : nullptr);
    }
    m_dernierMotif = motif;
    m_derniersTrouves = trouves;

    QSet<QString> noms;
    noms.reserve(trouves.size());
    for (const int numero : std::as_const(trouves))
        noms.insert(m_noms.at(numero));
    return noms;
}
