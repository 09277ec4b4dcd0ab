#include "covers/noticescatalogue.h"

#include "model/bd.h"
#include "model/catalogue.h"
#include "model/isbn.h"
#include "model/numerotome.h"
#include "model/recherche.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

#include <algorithm>

namespace NoticesCatalogue {

namespace {

using SourcesCouvertures::avecRequete;
using SourcesCouvertures::sousChemin;

struct SousChamp
{
    QChar code;
    QString valeur;
};

struct Champ
{
    int tag = 0;
    QList<SousChamp> sousChamps;
};

// The catalogue's titles carry the non-sorting marks of the MARC world
// (C1 control characters) around "Le", "Les"…
QString nettoyer(const QString& valeur)
{
    QString propre;
    propre.reserve(valeur.size());
    for (const QChar c : valeur) {
        if (c.unicode() >= 0x20 && (c.unicode() < 0x80 || c.unicode() > 0x9f))
            propre += c;
    }
    return propre.simplified();
}

QStringList valeurs(const QList<Champ>& champs, int tag, char code)
{
    QStringList trouvees;
    for (const Champ& champ : champs) {
        if (champ.tag != tag)
            continue;
        for (const SousChamp& sous : champ.sousChamps) {
            if (sous.code == QLatin1Char(code) && !sous.valeur.isEmpty())
                trouvees << sous.valeur;
        }
    }
    return trouvees;
}

QString premiere(const QList<Champ>& champs, int tag, char code)
{
    return valeurs(champs, tag, code).value(0);
}

bool aChamp(const QList<Champ>& champs, int tag)
{
    return std::any_of(
        champs.begin(), champs.end(), [tag](const Champ& champ) { return champ.tag == tag; });
}

int lireAnnee(const QString& texte)
{
    static const QRegularExpression annee(QStringLiteral("\\b([12]\\d{3})\\b"));
    return annee.match(texte).captured(1).toInt();
}

void ajouterNom(QStringList& noms, const QString& nom)
{
    if (!nom.isEmpty() && !noms.contains(nom))
        noms << nom;
}

struct Roles
{
    QStringList scenaristes;
    QStringList dessinateurs;
    QStringList coloristes;
    QStringList sansRole; // named in the first statement without a role word
};

// The statements of responsibility as printed: "scénario, Jean Van Hamme ;
// dessin, William Vance", "scénario et dessin de Hergé", "couleurs : X".
void lireMentions(const QStringList& mentions, Roles& roles)
{
    static const QRegularExpression motRole(
        QStringLiteral("\\b(?:(sc[ée]nari(?:o|ste)s?|textes?)|(dessins?|dessinateur|"
                       "illustrations?)|((?:mise en )?couleurs?)|(tradu\\w*|adapt\\w*|"
                       "lettrage|pr[ée]face\\w*|postface\\w*))\\b"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression separateurNoms(QStringLiteral("\\s*(?:[,;&/]|\\bet\\b)\\s*"),
        QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression liaison(
        QStringLiteral("^[\\s,;:.\\]\\[()=]*(?:(?:de|par)\\s+|d['’]\\s*)?"),
        QRegularExpression::CaseInsensitiveOption);

    static const QRegularExpression fin(QStringLiteral("[\\s\\[\\]().]+$"));

    auto noter = [&](const QList<QStringList*>& cibles, const QString& texte) {
        QString noms = texte;
        noms.remove(liaison);
        for (QString nom : noms.split(separateurNoms, Qt::SkipEmptyParts)) {
            nom.remove(fin);
            for (QStringList* cible : cibles)
                ajouterNom(*cible, nom.trimmed());
        }
    };

    bool premiere = true;
    for (const QString& mention : mentions) {
        QList<QStringList*> cibles;
        qsizetype debutNoms = 0;
        QRegularExpressionMatchIterator mots = motRole.globalMatch(mention);
        if (!mots.hasNext() && premiere)
            noter({ &roles.sansRole }, mention);
        while (mots.hasNext()) {
            const QRegularExpressionMatch mot = mots.next();
            const QString entre = mention.mid(debutNoms, mot.capturedStart() - debutNoms);
            // "scénario et dessin": words of roles joined, the names come after both.
            if (!entre.trimmed().isEmpty() && entre.simplified() != QLatin1String("et")
                && entre.simplified() != QLatin1String(",")) {
                noter(cibles.isEmpty() && premiere ? QList { &roles.sansRole } : cibles, entre);
                cibles.clear();
            }
            if (mot.capturedLength(1))
                cibles << &roles.scenaristes;
            else if (mot.capturedLength(2))
                cibles << &roles.dessinateurs;
            else if (mot.capturedLength(3))
                cibles << &roles.coloristes;
            debutNoms = mot.capturedEnd();
        }
        if (debutNoms > 0)
            noter(cibles, mention.mid(debutNoms));
        premiere = false;
    }
}

QString premierTexte(const QJsonValue& liste)
{
    const QJsonArray textes = liste.toArray();
    return textes.isEmpty() ? QString() : nettoyer(textes.first().toString());
}

NoticeAlbum interpreter(const QList<Champ>& champs, const QString& ark, const QUrl& base)
{
    NoticeAlbum notice;
    const QString numero = premiere(champs, 10, 'a');
    const Isbn::Lecture isbn = Isbn::lire(numero);
    notice.isbn = isbn.nature == Isbn::Nature::Isbn13 ? isbn.isbn13 : numero;

    const QString titre = premiere(champs, 200, 'a');
    const QString partie = premiere(champs, 200, 'i');
    notice.titre = partie.isEmpty() ? titre : partie;
    QString volume;
    if (aChamp(champs, 225)) {
        notice.serie = premiere(champs, 225, 'a');
        volume = premiere(champs, 225, 'v');
    } else {
        notice.serie = premiere(champs, 461, 't');
        volume = premiere(champs, 461, 'v');
    }
    if (notice.serie.isEmpty() && !partie.isEmpty())
        notice.serie = titre;
    if (volume.isEmpty())
        volume = premiere(champs, 200, 'h');
    notice.tome = numeroTome(volume);
    // A title that only repeats the series: the album's own title follows.
    const QString complement = premiere(champs, 200, 'e');
    if (!complement.isEmpty()
        && IndexPossedes::cleDeComparaison(notice.titre)
            == IndexPossedes::cleDeComparaison(notice.serie))
        notice.titre = complement;

    notice.editeur = premiere(champs, 210, 'c');
    if (notice.editeur.isEmpty())
        notice.editeur = premiere(champs, 214, 'c');
    QString date = premiere(champs, 210, 'd');
    if (date.isEmpty())
        date = premiere(champs, 214, 'd');
    notice.annee = lireAnnee(date);

    Roles codes;
    for (const Champ& champ : champs) {
        if (champ.tag < 700 || champ.tag > 702)
            continue;
        QString prenom, nom;
        QList<int> relations;
        for (const SousChamp& sous : champ.sousChamps) {
            if (sous.code == QLatin1Char('a') && nom.isEmpty())
                nom = sous.valeur;
            else if (sous.code == QLatin1Char('b') && prenom.isEmpty())
                prenom = sous.valeur;
            else if (sous.code == QLatin1Char('4'))
                relations << sous.valeur.toInt();
        }
        const QString personne = (prenom + QLatin1Char(' ') + nom).trimmed();
        if (relations.contains(70) || relations.contains(690)) // author, scenarist
            ajouterNom(codes.scenaristes, personne);
        if (relations.contains(440)) // illustrator
            ajouterNom(codes.dessinateurs, personne);
    }
    Roles mentions;
    lireMentions(valeurs(champs, 200, 'f') + valeurs(champs, 200, 'g'), mentions);
    const QString virgule = QStringLiteral(", ");
    const QStringList& scenaristes = !codes.scenaristes.isEmpty() ? codes.scenaristes
        : !mentions.scenaristes.isEmpty()                         ? mentions.scenaristes
                                                                  : mentions.sansRole;
    notice.scenariste = scenaristes.join(virgule);
    notice.dessinateur
        = (codes.dessinateurs.isEmpty() ? mentions.dessinateurs : codes.dessinateurs).join(virgule);
    notice.coloriste = mentions.coloristes.join(virgule);

    if (!ark.isEmpty())
        notice.couverture = SourcesCouvertures::urlCouvertureBnf(base, ark);
    notice.source = Source::Bnf;
    return notice;
}

} // namespace

QUrl urlBnf(const QUrl& base, Critere critere, const QString& texte, int debut)
{
    const QString index = critere == Critere::Isbn ? QStringLiteral("bib.isbn")
        : critere == Critere::Titre                ? QStringLiteral("bib.title")
        : critere == Critere::Auteur               ? QStringLiteral("bib.author")
                                                   : QStringLiteral("bib.anywhere");
    // CQL quotes the words: a quote or backslash of the text would end them.
    QString mots = texte;
    mots.replace(QRegularExpression(QStringLiteral("[\"\\\\]")), QStringLiteral(" "));
    return avecRequete(sousChemin(base, QStringLiteral("/api/SRU")),
        { { QStringLiteral("version"), QStringLiteral("1.2") },
            { QStringLiteral("operation"), QStringLiteral("searchRetrieve") },
            { QStringLiteral("query"),
                QStringLiteral("%1 all \"%2\"").arg(index, mots.simplified()) },
            { QStringLiteral("recordSchema"), QStringLiteral("unimarcxchange") },
            { QStringLiteral("maximumRecords"), QString::number(noticesParPage) },
            { QStringLiteral("startRecord"), QString::number(qMax(debut, 1)) } });
}

PageNotices lireSru(const QByteArray& xml, const QUrl& base, int debut)
{
    PageNotices page;
    QXmlStreamReader lecteur(xml);
    QList<Champ> champs;
    QString ark;
    int profondeur = 0; // of "record" elements: the service's, then the MARC one
    int lues = 0;
    int prochain = 0;
    bool racineVue = false;
    bool totalVu = false;
    bool diagnostic = false;
    while (!lecteur.atEnd() && !lecteur.hasError()) {
        lecteur.readNext();
        const QStringView nom = lecteur.name();
        if (lecteur.isEndElement() && nom == QLatin1String("record") && --profondeur == 0) {
            if (!champs.isEmpty())
                page.notices << interpreter(champs, ark, base);
            ++lues;
            champs.clear();
            ark.clear();
        }
        if (!lecteur.isStartElement())
            continue;
        if (!racineVue) {
            racineVue = true;
            if (nom != QLatin1String("searchRetrieveResponse"))
                return page;
        }
        const QXmlStreamAttributes attributs = lecteur.attributes();
        if (nom == QLatin1String("record")) {
            ++profondeur;
            const QStringView id = attributs.value(QLatin1String("id"));
            if (id.startsWith(QLatin1String("ark:")))
                ark = id.toString();
        } else if (nom == QLatin1String("datafield") && profondeur > 0) {
            champs.append(Champ { attributs.value(QLatin1String("tag")).toInt(), {} });
        } else if (nom == QLatin1String("subfield") && !champs.isEmpty()) {
            const QStringView code = attributs.value(QLatin1String("code"));
            champs.last().sousChamps.append(
                { code.isEmpty() ? QChar() : code.front(), nettoyer(lecteur.readElementText()) });
        } else if (nom == QLatin1String("numberOfRecords")) {
            page.total = lecteur.readElementText().trimmed().toInt(&totalVu);
        } else if (nom == QLatin1String("nextRecordPosition")) {
            prochain = lecteur.readElementText().trimmed().toInt();
        } else if (nom == QLatin1String("diagnostic")) {
            diagnostic = true;
        }
    }
    // A diagnostic alone is the service refusing the query, not an empty result.
    page.valide = racineVue && totalVu && !lecteur.hasError() && !(diagnostic && lues == 0);
    if (!page.valide)
        return PageNotices();
    if (prochain <= 0 && lues > 0)
        prochain = debut + lues;
    page.suivant = prochain > debut && prochain <= page.total ? prochain : 0;
    return page;
}

QUrl urlOpenLibrary(const QUrl& base, Critere critere, const QString& texte)
{
    const bool isbn = critere == Critere::Isbn;
    return avecRequete(sousChemin(base, QStringLiteral("/search.json")),
        { { isbn ? QStringLiteral("isbn") : QStringLiteral("q"), texte },
            { QStringLiteral("fields"),
                QStringLiteral("title,author_name,publisher,first_publish_year,cover_i,isbn,"
                               "number_of_pages_median") },
            { QStringLiteral("limit"), QString::number(noticesParPage) } });
}

PageNotices lireOpenLibrary(const QByteArray& json, const QUrl& baseCouvertures)
{
    PageNotices page;
    const std::optional<SourcesCouvertures::DocumentsOpenLibrary> reponse
        = SourcesCouvertures::lireDocumentsOpenLibrary(json);
    if (!reponse)
        return page;
    page.valide = true;
    page.total = reponse->total;
    for (const QJsonValue& valeur : reponse->documents) {
        const QJsonObject livre = valeur.toObject();
        NoticeAlbum notice;
        const TitreLu titre = lireTitre(nettoyer(livre.value(QLatin1String("title")).toString()));
        notice.serie = titre.serie;
        notice.tome = titre.tome;
        notice.titre = titre.titre;
        notice.scenariste = premierTexte(livre.value(QLatin1String("author_name")));
        notice.editeur = premierTexte(livre.value(QLatin1String("publisher")));
        notice.annee = livre.value(QLatin1String("first_publish_year")).toInt();
        for (const QJsonValue& numero : livre.value(QLatin1String("isbn")).toArray()) {
            const Isbn::Lecture lu = Isbn::lire(numero.toString());
            if (lu.nature == Isbn::Nature::Isbn13) {
                notice.isbn = lu.isbn13;
                break;
            }
        }
        const qint64 idCouverture = livre.value(QLatin1String("cover_i")).toInteger(-1);
        if (idCouverture > 0)
            notice.couverture
                = SourcesCouvertures::urlCouvertureOpenLibrary(baseCouvertures, idCouverture);
        notice.source = Source::OpenLibrary;
        page.notices << notice;
    }
    return page;
}

TitreLu lireTitre(const QString& titre)
{
    static const QRegularExpression marque(
        QStringLiteral("^(.*?)[\\s,;:.\\-–]*\\b(?:tome|volume|vol|t)\\.?\\s*(\\d+)\\b(.*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch trouve = marque.match(titre);
    if (!trouve.hasMatch() || trouve.captured(1).trimmed().isEmpty())
        return { QString(), 0, titre.trimmed() };
    TitreLu lu { trouve.captured(1).trimmed(), numeroTome(trouve.captured(2)), QString() };
    static const QRegularExpression liaison(QStringLiteral("^[\\s,;:.\\-–]+"));
    lu.titre = trouve.captured(3).remove(liaison).trimmed();
    if (lu.titre.isEmpty())
        lu.titre = lu.serie;
    return lu;
}

QList<NoticeAlbum> fusionner(const QList<NoticeAlbum>& bnf, const QList<NoticeAlbum>& openLibrary)
{
    return bnf.isEmpty() ? openLibrary : bnf;
}

void trierParTome(QList<NoticeAlbum>& notices)
{
    std::stable_sort(
        notices.begin(), notices.end(), [](const NoticeAlbum& a, const NoticeAlbum& b) {
            if ((a.tome > 0) != (b.tome > 0))
                return a.tome > 0;
            return a.tome != b.tome ? a.tome < b.tome : a.annee < b.annee;
        });
}

QString IndexPossedes::cleDeComparaison(const QString& texte)
{
    QString reduit = Recherche::minusculesSansAccents(texte).simplified();
    reduit.replace(QChar(0x2019), QLatin1Char('\'')); // typographic apostrophe
    return reduit;
}

IndexPossedes::IndexPossedes(const Catalogue& catalogue)
{
    m_albums.reserve(catalogue.albums().size());
    completer(catalogue, 0);
}

void IndexPossedes::completer(const Catalogue& catalogue, qsizetype depuis)
{
    // Albums of a series follow one another: its name is reduced once per run.
    QString serie;
    QString serieReduite;
    for (const BD* album : catalogue.albums().mid(depuis)) {
        if (album->getSerie() != serie) {
            serie = album->getSerie();
            serieReduite = cleDeComparaison(serie);
        }
        m_albums.insert(serieReduite + QChar(0) + cleDeComparaison(album->getTitre()));
        if (album->tome > 0)
            m_tomes[serieReduite].insert(album->tome);
    }
}

bool IndexPossedes::possede(const QString& serie, const QString& titre) const
{
    return m_albums.contains(cleDeComparaison(serie) + QChar(0) + cleDeComparaison(titre));
}

bool IndexPossedes::possedeTome(const QString& serie, int tome) const
{
    return m_tomes.value(cleDeComparaison(serie)).contains(tome);
}

void IndexPossedes::marquer(QList<NoticeAlbum>& notices) const
{
    for (NoticeAlbum& notice : notices)
        notice.possede = possede(notice.serie, notice.titre);
}

QList<TomeParu> tomesAbsents(
    const QList<NoticeAlbum>& notices, const QString& serie, const IndexPossedes& index)
{
    const QString cible = IndexPossedes::cleDeComparaison(serie);
    QList<NoticeAlbum> parus;
    for (const NoticeAlbum& notice : notices) {
        if (notice.tome > 0 && IndexPossedes::cleDeComparaison(notice.serie) == cible)
            parus << notice;
    }
    trierParTome(parus);
    // One edition held under its title holds the volume, whatever the others say.
    QSet<int> tenus;
    for (const NoticeAlbum& notice : std::as_const(parus)) {
        if (index.possede(serie, notice.titre))
            tenus.insert(notice.tome);
    }
    QList<TomeParu> absents;
    int dernier = 0;
    for (const NoticeAlbum& notice : std::as_const(parus)) {
        if (notice.tome == dernier)
            continue;
        dernier = notice.tome;
        if (!tenus.contains(notice.tome) && !index.possedeTome(serie, notice.tome))
            absents.append({ notice.tome, notice.titre, notice.annee });
    }
    return absents;
}

ValeursAlbum valeurs(const NoticeAlbum& notice, int type)
{
    ValeursAlbum v;
    v.titre = notice.titre.isEmpty() ? QStringLiteral("Tome %1").arg(notice.tome) : notice.titre;
    v.serie = notice.serie.isEmpty() ? v.titre : notice.serie;
    v.tome = notice.tome;
    v.scenariste = notice.scenariste;
    v.dessinateur = notice.dessinateur;
    v.coloriste = notice.coloriste;
    v.editeur = notice.editeur;
    v.type = type;
    return v;
}

} // namespace NoticesCatalogue
