#include "store/detectionencodage.h"

#include "store/decodage.h"

#include <QTextCodec>

#include <algorithm>
#include <cstring>

#include <unicode/ucsdet.h>

namespace DetectionEncodage {

namespace {

// Enough text for the detector and for the side of UTF-16's NUL bytes.
constexpr qsizetype tailleEchantillon = 64 * 1024;

const char* const utf8 = "UTF8";
const char* const utf16 = "UTF-16";

// The lines holding non-ASCII bytes, up to tailleEchantillon: what tells the
// single-byte encodings apart, wherever it is in the file.
QByteArray lignesNonAscii(const QByteArray& octets)
{
    QByteArray echantillon;
    qsizetype debut = 0;
    while (debut < octets.size() && echantillon.size() < tailleEchantillon) {
        qsizetype fin = octets.indexOf('\n', debut);
        fin = fin < 0 ? octets.size() : fin + 1;
        const char* ligne = octets.constData() + debut;
        if (std::any_of(ligne, ligne + (fin - debut), [](char c) { return uchar(c) >= 0x80; }))
            echantillon.append(ligne, fin - debut);
        debut = fin;
    }
    return echantillon;
}

// ICU's answers, the likeliest first.
QStringList reponsesDetecteur(const QByteArray& echantillon)
{
    QStringList noms;
    UErrorCode erreur = U_ZERO_ERROR;
    UCharsetDetector* detecteur = ucsdet_open(&erreur);
    if (U_FAILURE(erreur))
        return noms;
    ucsdet_setText(detecteur, echantillon.constData(), int32_t(echantillon.size()), &erreur);
    int32_t nombre = 0;
    const UCharsetMatch** reponses = ucsdet_detectAll(detecteur, &nombre, &erreur);
    for (int32_t i = 0; U_SUCCESS(erreur) && i < nombre; ++i)
        noms.append(QString::fromLatin1(ucsdet_getName(reponses[i], &erreur)));
    ucsdet_close(detecteur);
    return noms;
}

// ICU does not tell ISO-8859-15 from Latin-1. Bytes 0x80-0x9F are letters
// only in Windows-1252; without them, the bytes of €, Š, š, Œ, œ or Ÿ make
// ISO-8859-15 the likelier (´ and ¸, which Latin-1 texts use as
// apostrophes and cedillas, are left out).
QString occidental(const QByteArray& echantillon)
{
    bool iso15 = false;
    for (const char c : echantillon) {
        const uchar octet = uchar(c);
        if (octet >= 0x80 && octet <= 0x9F)
            return QStringLiteral("Windows-1252");
        iso15 = iso15 || octet == 0xA4 || octet == 0xA6 || octet == 0xA8
            || (octet >= 0xBC && octet <= 0xBE);
    }
    return iso15 ? QStringLiteral("ISO-8859-15") : QStringLiteral("Windows-1252");
}

// The offered name for one of ICU's answers; empty when none is close.
// UTF-16 is left to the NUL bytes, which tell it better.
QString nomPropose(const QString& reponse, const QByteArray& echantillon)
{
    const QString nom = reponse.toUpper();
    if (nom == QLatin1String("UTF-8"))
        return QLatin1String(utf8);
    if (nom == QLatin1String("KOI8-R"))
        return nom;
    if (nom == QLatin1String("WINDOWS-1250") || nom == QLatin1String("ISO-8859-2"))
        return QStringLiteral("Windows-1250");
    // Short French texts are also taken for Turkish, which differs by six letters.
    if (nom == QLatin1String("ISO-8859-1") || nom == QLatin1String("WINDOWS-1252")
        || nom == QLatin1String("ISO-8859-9") || nom == QLatin1String("WINDOWS-1254"))
        return occidental(echantillon);
    return {};
}

} // namespace

bool utf16ou32(const QTextCodec* codec)
{
    const int mib = codec ? codec->mibEnum() : 0;
    return (mib >= 1013 && mib <= 1015) || (mib >= 1017 && mib <= 1019);
}

bool unicode(const QTextCodec* codec)
{
    return (codec && codec->mibEnum() == 106) || utf16ou32(codec);
}

QTextCodec* utf16SansMarque(const QByteArray& octets)
{
    if (QTextCodec::codecForUtfText(octets, nullptr))
        return nullptr;
    const qsizetype taille = qMin(octets.size(), tailleEchantillon) & ~qsizetype(1);
    qsizetype pairs = 0;
    qsizetype impairs = 0;
    for (qsizetype i = 0; i < taille; i += 2) {
        pairs += octets.at(i) == 0;
        impairs += octets.at(i + 1) == 0;
    }
    // A collection line is ASCII for the most part (";", numbers): at least
    // one character in eight has its NUL, always on the same side.
    const qsizetype caracteres = taille / 2;
    if (impairs * 8 >= caracteres && impairs > 4 * pairs && caracteres > 0)
        return QTextCodec::codecForName("UTF-16LE");
    if (pairs * 8 >= caracteres && pairs > 4 * impairs && caracteres > 0)
        return QTextCodec::codecForName("UTF-16BE");
    return nullptr;
}

bool utf8NonAscii(const QByteArray& octets)
{
    return natureUtf8(octets.constData(), octets.size()) == NatureUtf8::Utf8;
}

NatureUtf8 natureUtf8(const char* octets, qsizetype taille)
{
    const auto* p = reinterpret_cast<const uchar*>(octets);
    const auto* const fin = p + taille;
    bool nonAscii = false;
    while (p < fin) {
        quint64 huit;
        if (fin - p >= 8 && (std::memcpy(&huit, p, 8), (huit & 0x8080808080808080ULL) == 0)) {
            p += 8;
            continue;
        }
        if (*p < 0x80) {
            ++p;
            continue;
        }
        // RFC 3629: no overlong form, no surrogate, nothing above U+10FFFF.
        nonAscii = true;
        const uchar tete = *p;
        int suite = 0;
        uchar min = 0x80;
        uchar max = 0xBF;
        if (tete >= 0xC2 && tete <= 0xDF) {
            suite = 1;
        } else if (tete >= 0xE0 && tete <= 0xEF) {
            suite = 2;
            min = tete == 0xE0 ? 0xA0 : 0x80;
            max = tete == 0xED ? 0x9F : 0xBF;
        } else if (tete >= 0xF0 && tete <= 0xF4) {
            suite = 3;
            min = tete == 0xF0 ? 0x90 : 0x80;
            max = tete == 0xF4 ? 0x8F : 0xBF;
        } else {
            return NatureUtf8::PasUtf8;
        }
        if (fin - p <= suite || p[1] < min || p[1] > max)
            return NatureUtf8::PasUtf8;
        for (int i = 2; i <= suite; ++i) {
            if (p[i] < 0x80 || p[i] > 0xBF)
                return NatureUtf8::PasUtf8;
        }
        p += suite + 1;
    }
    return nonAscii ? NatureUtf8::Utf8 : NatureUtf8::Ascii;
}

QString suggerer(const QByteArray& octets, const QStringList& proposes, QTextCodec* exclu)
{
    QStringList candidats;
    if (QTextCodec* marque = QTextCodec::codecForUtfText(octets, nullptr)) {
        // The mark chooses the encoding whatever the setting says.
        if (marque->mibEnum() == 106)
            candidats << QLatin1String(utf8);
        else if (marque->mibEnum() >= 1013 && marque->mibEnum() <= 1015)
            candidats << QLatin1String(utf16);
    } else if (utf16SansMarque(octets)) {
        candidats << QLatin1String(utf16);
    } else {
        // Valid UTF-8 is UTF-8 whatever the detector would say.
        candidats << QLatin1String(utf8);
        const QByteArray echantillon = lignesNonAscii(octets);
        for (const QString& reponse : reponsesDetecteur(echantillon))
            candidats << nomPropose(reponse, echantillon);
        candidats << QLatin1String(utf16) << QStringLiteral("Windows-1252")
                  << QStringLiteral("ISO-8859-15") << QStringLiteral("Windows-1250")
                  << QStringLiteral("KOI8-R") << QStringLiteral("Apple Roman") << proposes;
    }

    QList<QTextCodec*> essayes;
    for (const QString& nom : std::as_const(candidats)) {
        QTextCodec* codec
            = proposes.contains(nom) ? QTextCodec::codecForName(nom.toLatin1()) : nullptr;
        if (!codec || codec == exclu || essayes.contains(codec))
            continue;
        essayes.append(codec);
        if (Decodage::decoder(octets, codec, 0).sequencesInvalides == 0)
            return nom;
    }
    return {};
}

} // namespace DetectionEncodage
