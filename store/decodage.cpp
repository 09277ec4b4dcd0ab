#include "store/decodage.h"

#include "store/decoupelignes.h"
#include "store/detectionencodage.h"

#include <QTextCodec>

#include <unicode/ucnv.h>

namespace Decodage {

bool compatibleAscii(QTextCodec* codec)
{
    return !DetectionEncodage::utf16ou32(codec)
        && codec->fromUnicode(QStringLiteral("\n;")) == QByteArrayLiteral("\n;");
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

int invalides(
    QTextCodec* codec, const char* octets, qsizetype taille, QString* texte, bool debutFichier)
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
    DecoupeLignes<QByteArrayView> lignes(QByteArrayView(octets, taille));
    int numero = 0;
    for (QByteArrayView ligne; lignes.suivante(ligne);) {
        ++numero;
        if (invalides(codec, ligne.data(), ligne.size(), nullptr) > 0)
            return numero;
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
    DecoupeLignes<QByteArrayView> lignes(octets);
    int numero = 0;
    for (QByteArrayView ligne;
         resultat.lignesInvalides.size() < lignesVoulues && lignes.suivante(ligne);) {
        ++numero;
        if (invalides(resultat.codec, ligne.data(), ligne.size(), nullptr) > 0)
            resultat.lignesInvalides.append(numero);
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
