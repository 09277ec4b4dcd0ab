#include "store/decodage.h"

#include "store/detectionencodage.h"

#include <QTextCodec>

#include <cstring>

#include <unicode/ucnv.h>

namespace Decodage {

bool compatibleAscii(QTextCodec* codec)
{
    const int mib = codec->mibEnum();
    const bool utf16ou32 = (mib >= 1013 && mib <= 1015) || (mib >= 1017 && mib <= 1019);
    return !utf16ou32 && codec->fromUnicode(QStringLiteral("\n;")) == QByteArrayLiteral("\n;");
}

bool decoupable(QTextCodec* codec)
{
    if (codec->mibEnum() == 106)
        return true;
    if (!compatibleAscii(codec))
        return false;
    // Stateful and multi-byte encodings are left whole.
    UErrorCode erreur = U_ZERO_ERROR;
    UConverter* convertisseur = ucnv_open(codec->name().constData(), &erreur);
    if (U_FAILURE(erreur))
        return false;
    const UConverterType genre = ucnv_getType(convertisseur);
    ucnv_close(convertisseur);
    return genre == UCNV_SBCS || genre == UCNV_LATIN_1 || genre == UCNV_US_ASCII;
}

int invalides(QTextCodec* codec, const char* octets, qsizetype taille, QString* texte,
    bool debutFichier)
{
    QTextCodec::ConverterState etat(
        debutFichier ? QStringConverter::Flag::Default : QStringConverter::Flag::ConvertInitialBom);
    const QString decode = codec->toUnicode(octets, int(taille), &etat);
    if (texte)
        *texte = decode;
    return etat.invalidChars + (etat.remainingChars > 0 ? 1 : 0);
}

int premiereLigneInvalide(QTextCodec* codec, const char* octets, qsizetype taille)
{
    qsizetype debut = 0;
    int numero = 0;
    while (debut < taille) {
        const char* fin = static_cast<const char*>(std::memchr(octets + debut, '\n', taille - debut));
        const qsizetype finLigne = fin ? fin - octets : taille;
        ++numero;
        if (invalides(codec, octets + debut, finLigne - debut, nullptr) > 0)
            return numero;
        debut = finLigne + 1;
    }
    return qMax(numero, 1);
}

namespace {

void chercherLignes(const QByteArray& octets, TexteDecode& resultat, int lignesVoulues)
{
    if (!compatibleAscii(resultat.codec)) {
        // Located in the text: the first replacement character, else line 1.
        const qsizetype position = resultat.texte.indexOf(QChar(QChar::ReplacementCharacter));
        const qsizetype avant = position < 0 ? 0 : position;
        resultat.lignesInvalides.append(
            1 + int(QStringView(resultat.texte).left(avant).count(QLatin1Char('\n'))));
        return;
    }
    qsizetype debut = 0;
    int numero = 0;
    while (debut < octets.size() && resultat.lignesInvalides.size() < lignesVoulues) {
        qsizetype fin = octets.indexOf('\n', debut);
        if (fin < 0)
            fin = octets.size();
        ++numero;
        if (invalides(resultat.codec, octets.constData() + debut, fin - debut, nullptr) > 0)
            resultat.lignesInvalides.append(numero);
        debut = fin + 1;
    }
    if (resultat.lignesInvalides.isEmpty())
        resultat.lignesInvalides.append(qMax(numero, 1));
}

} // namespace

QTextCodec* codecDe(const QByteArray& octets, QTextCodec* codec, bool detecterBom)
{
    QTextCodec* parDefaut = codec ? codec : QTextCodec::codecForLocale();
    QTextCodec* choisi = detecterBom ? QTextCodec::codecForUtfText(octets, parDefaut) : parDefaut;
    // Without a mark, "UTF-16" alone would read the machine's byte order.
    if (choisi->mibEnum() == 1015) {
        if (QTextCodec* sansMarque = DetectionEncodage::utf16SansMarque(octets))
            choisi = sansMarque;
    }
    return choisi;
}

TexteDecode decoder(
    const QByteArray& octets, QTextCodec* codec, int lignesVoulues, bool detecterBom)
{
    TexteDecode resultat;
    resultat.codec = codecDe(octets, codec, detecterBom);
    resultat.sequencesInvalides
        = invalides(resultat.codec, octets.constData(), octets.size(), &resultat.texte);
    if (resultat.sequencesInvalides == 0 && !resultat.texte.contains(QLatin1Char(';'))
        && octets.contains(';')) {
        resultat.sequencesInvalides = 1;
        resultat.lignesInvalides.append(1);
        return resultat;
    }
    if (resultat.sequencesInvalides > 0 && lignesVoulues > 0)
        chercherLignes(octets, resultat, lignesVoulues);
    return resultat;
}

QString encodageSansErreur(
    const QByteArray& octets, const QStringList& encodages, const QString& exclu)
{
    return DetectionEncodage::suggerer(
        octets, encodages, exclu.isEmpty() ? nullptr : QTextCodec::codecForName(exclu.toLatin1()));
}

} // namespace Decodage
