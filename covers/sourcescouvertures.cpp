#include "covers/sourcescouvertures.h"

#include "model/numerotome.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

#include <algorithm>

namespace SourcesCouvertures {

// Every value fully percent-encoded: QUrlQuery would leave "+" and "\"" as
// they are, and a service may read "+" as a space.
QUrl avecRequete(QUrl url, const QList<QPair<QString, QString>>& items)
{
    QByteArray requete;
    for (const auto& [cle, valeur] : items) {
        if (!requete.isEmpty())
            requete += '&';
        requete += QUrl::toPercentEncoding(cle) + '=' + QUrl::toPercentEncoding(valeur);
    }
    url.setQuery(QString::fromLatin1(requete), QUrl::StrictMode);
    return url;
}

QUrl sousChemin(QUrl base, const QString& chemin)
{
    QString racine = base.path();
    while (racine.endsWith(QLatin1Char('/')))
        racine.chop(1);
    base.setPath(racine + chemin);
    return base;
}

namespace {

// The first number of a volume text ("12", "T. 12", "Vol. 3"), 0 when none.
bool contientMots(const QString& texteNormalise, const QString& motsNormalises)
{
    if (motsNormalises.isEmpty())
        return false;
    return (QLatin1Char(' ') + texteNormalise + QLatin1Char(' '))
        .contains(QLatin1Char(' ') + motsNormalises + QLatin1Char(' '));
}

} // namespace

Source lireSource(const QString& texte)
{
    for (Source source : { Source::Bnf, Source::OpenLibrary, Source::Auto }) {
        if (texte == texteSource(source))
            return source;
    }
    return Source::Signe;
}

QString texteSource(Source source)
{
    switch (source) {
    case Source::Bnf:
        return QStringLiteral("bnf");
    case Source::OpenLibrary:
        return QStringLiteral("openlibrary");
    case Source::Auto:
        return QStringLiteral("auto");
    case Source::Signe:
        break;
    }
    return QStringLiteral("signe");
}

QList<Source> sourcesInterrogees(Source source)
{
    switch (source) {
    case Source::Bnf:
    case Source::OpenLibrary:
        return { source };
    case Source::Auto:
        return { Source::Bnf, Source::OpenLibrary };
    case Source::Signe:
        break;
    }
    return {};
}

QString nomSource(Source source)
{
    return source == Source::Bnf        ? QStringLiteral("BnF")
        : source == Source::OpenLibrary ? QStringLiteral("Open Library")
                                        : QString();
}

QString texteInterrogation(const AlbumCherche& album)
{
    QString texte = album.recherche;
    if (!album.titre.isEmpty()
        && !contientMots(motsMinusculesSansAccents(texte), motsMinusculesSansAccents(album.titre)))
        texte += QLatin1Char(' ') + album.titre;
    static const QRegularExpression tome(QStringLiteral("(^|\\s)tome(\\s+\\d+)?(?=\\s|$)"),
        QRegularExpression::CaseInsensitiveOption);
    texte.replace(tome, QString());
    // CQL quotes the words: a quote or backslash of the text would end them.
    texte.replace(QRegularExpression(QStringLiteral("[\"\\\\]")), QStringLiteral(" "));
    return texte.simplified();
}

QUrl urlRechercheBnf(const QUrl& base, const QString& texte)
{
    return avecRequete(sousChemin(base, QStringLiteral("/api/SRU")),
        { { QStringLiteral("version"), QStringLiteral("1.2") },
            { QStringLiteral("operation"), QStringLiteral("searchRetrieve") },
            { QStringLiteral("query"), QStringLiteral("bib.anywhere all \"%1\"").arg(texte) },
            { QStringLiteral("recordSchema"), QStringLiteral("unimarcxchange") },
            { QStringLiteral("maximumRecords"), QStringLiteral("10") } });
}

QUrl urlCouvertureBnf(const QUrl& base, const QString& ark)
{
    return avecRequete(sousChemin(base, QStringLiteral("/couverture")),
        { { QStringLiteral("appName"), QStringLiteral("NE") }, { QStringLiteral("idArk"), ark },
            { QStringLiteral("couverture"), QStringLiteral("1") } });
}

Lecture lireReponseSru(const QByteArray& xml, const QUrl& base)
{
    Lecture lecture;
    QXmlStreamReader lecteur(xml);
    Notice notice;
    QString ark;
    QString champ;
    bool racineVue = false;
    bool diagnostic = false;
    while (!lecteur.atEnd() && !lecteur.hasError()) {
        lecteur.readNext();
        if (lecteur.isEndElement() && lecteur.name() == QLatin1String("record") && !ark.isEmpty()) {
            notice.couverture = urlCouvertureBnf(base, ark);
            lecture.notices << notice;
            notice = Notice();
            ark.clear();
        }
        if (!lecteur.isStartElement())
            continue;
        const auto nom = lecteur.name();
        const QXmlStreamAttributes attributs = lecteur.attributes();
        if (!racineVue) {
            racineVue = true;
            if (nom != QLatin1String("searchRetrieveResponse"))
                return lecture;
        } else if (nom == QLatin1String("record")
            && attributs.value(QLatin1String("id")).startsWith(QLatin1String("ark:"))) {
            ark = attributs.value(QLatin1String("id")).toString();
        } else if (nom == QLatin1String("diagnostic")) {
            diagnostic = true;
        } else if (nom == QLatin1String("datafield")) {
            champ = attributs.value(QLatin1String("tag")).toString();
        } else if (nom == QLatin1String("subfield") && !ark.isEmpty()) {
            const QString code = attributs.value(QLatin1String("code")).toString();
            const QString valeur = lecteur.readElementText().trimmed();
            QString* cible = nullptr;
            if (champ == QLatin1String("200")
                && (code == QLatin1String("a") || code == QLatin1String("i")))
                cible = &notice.titre;
            else if (champ == QLatin1String("225") && code == QLatin1String("a"))
                cible = &notice.serie;
            else if ((champ == QLatin1String("225") && code == QLatin1String("v"))
                || (champ == QLatin1String("200") && code == QLatin1String("h")))
                cible = &notice.volume;
            if (cible && cible->isEmpty())
                *cible = valeur;
            else if (cible == &notice.titre)
                *cible += QLatin1Char(' ') + valeur;
        }
    }
    // A diagnostic alone is the service refusing the query, not an empty result.
    lecture.valide = racineVue && !lecteur.hasError() && !(diagnostic && lecture.notices.isEmpty());
    if (!lecture.valide)
        lecture.notices.clear();
    return lecture;
}

QUrl urlRechercheOpenLibrary(const QUrl& base, const QString& texte)
{
    return avecRequete(sousChemin(base, QStringLiteral("/search.json")),
        { { QStringLiteral("q"), texte },
            { QStringLiteral("fields"),
                QStringLiteral("key,title,author_name,publisher,isbn,cover_i,first_publish_year") },
            { QStringLiteral("limit"), QStringLiteral("20") } });
}

QUrl urlCouvertureOpenLibrary(const QUrl& baseCouvertures, qint64 idCouverture)
{
    return avecRequete(
        sousChemin(baseCouvertures, QStringLiteral("/b/id/%1-L.jpg").arg(idCouverture)),
        { { QStringLiteral("default"), QStringLiteral("false") } });
}

std::optional<DocumentsOpenLibrary> lireDocumentsOpenLibrary(const QByteArray& json)
{
    QJsonParseError erreur;
    const QJsonDocument document = QJsonDocument::fromJson(json, &erreur);
    if (erreur.error != QJsonParseError::NoError || !document.isObject()
        || !document.object().value(QLatin1String("docs")).isArray())
        return std::nullopt;
    const QJsonArray documents = document.object().value(QLatin1String("docs")).toArray();
    return DocumentsOpenLibrary { documents,
        document.object().value(QLatin1String("numFound")).toInt(int(documents.size())) };
}

Lecture lireReponseOpenLibrary(const QByteArray& json, const QUrl& baseCouvertures)
{
    Lecture lecture;
    const std::optional<DocumentsOpenLibrary> reponse = lireDocumentsOpenLibrary(json);
    if (!reponse)
        return lecture;
    lecture.valide = true;
    for (const QJsonValue& valeur : reponse->documents) {
        const QJsonObject livre = valeur.toObject();
        const qint64 idCouverture = livre.value(QLatin1String("cover_i")).toInteger(-1);
        if (idCouverture <= 0)
            continue;
        Notice notice;
        notice.titre = livre.value(QLatin1String("title")).toString();
        notice.couverture = urlCouvertureOpenLibrary(baseCouvertures, idCouverture);
        lecture.notices << notice;
    }
    return lecture;
}

QString motsMinusculesSansAccents(const QString& texte)
{
    QString resultat;
    resultat.reserve(texte.size());
    for (const QChar c : texte.normalized(QString::NormalizationForm_KD)) {
        if (c.isLetterOrNumber())
            resultat += c.toLower();
        else if (c.category() != QChar::Mark_NonSpacing)
            resultat += QLatin1Char(' ');
    }
    return resultat.simplified();
}

int score(const Notice& notice, const AlbumCherche& album)
{
    const QString titre = motsMinusculesSansAccents(notice.titre);
    const QString serie = motsMinusculesSansAccents(notice.serie);
    const QString tout = titre + QLatin1Char(' ') + serie;
    int points = 0;
    const QString serieCherchee = motsMinusculesSansAccents(album.serie);
    if (!serieCherchee.isEmpty())
        points += serie == serieCherchee ? 4 : contientMots(tout, serieCherchee) ? 2 : 0;
    const QString titreCherche = motsMinusculesSansAccents(album.titre);
    if (!titreCherche.isEmpty())
        points += titre == titreCherche ? 4 : contientMots(titre, titreCherche) ? 2 : 0;
    if (album.tome > 0) {
        const int volume = numeroTome(notice.volume);
        if (volume == album.tome)
            points += 3;
        else if (volume > 0)
            points -= 3;
        else if (contientMots(titre, QString::number(album.tome)))
            points += 1;
    }
    // The words of the text, for searches typed without an album.
    const QStringList mots = motsMinusculesSansAccents(texteInterrogation(album))
                                 .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& mot : mots)
        points += contientMots(tout, mot) ? 1 : 0;
    return points;
}

QList<QUrl> classer(const QList<Notice>& notices, const AlbumCherche& album)
{
    QList<QPair<int, QUrl>> notes;
    for (const Notice& notice : notices)
        notes.append({ score(notice, album), notice.couverture });
    std::stable_sort(notes.begin(), notes.end(),
        [](const QPair<int, QUrl>& a, const QPair<int, QUrl>& b) { return a.first > b.first; });
    // An answer may hold thousands of records: no search of the list per record.
    QList<QUrl> urls;
    QSet<QUrl> vues;
    for (const auto& note : notes) {
        if (!vues.contains(note.second)) {
            vues.insert(note.second);
            urls << note.second;
        }
    }
    return urls;
}

Image examinerImage(const QByteArray& octets, bool sourceAvecImageParDefaut)
{
    if (QImage::fromData(octets).isNull())
        return Image::Illisible;
    if (sourceAvecImageParDefaut && octets.size() <= tailleMaxImageParDefaut)
        return Image::ImageParDefaut;
    return Image::Couverture;
}

qint64 Cadence::attente(const QString& hote, qint64 maintenant) const
{
    if (m_enCours.contains(hote))
        return -1;
    const auto fin = m_dernierFin.constFind(hote);
    if (fin == m_dernierFin.constEnd())
        return 0;
    // Both readings are whole milliseconds: one more keeps the true gap at
    // least the interval.
    return std::max<qint64>(0, *fin + m_intervalle + 1 - maintenant);
}

void Cadence::envoye(const QString& hote)
{
    m_enCours.insert(hote);
}

void Cadence::termine(const QString& hote, qint64 maintenant)
{
    m_enCours.remove(hote);
    m_dernierFin.insert(hote, maintenant);
}

} // namespace SourcesCouvertures
