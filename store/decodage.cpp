#include "store/decodage.h"

#include "store/decoupelignes.h"
#include "store/detectionencodage.h"

#include <QTextCodec>

namespace Decodage {

bool compatibleAscii(QTextCodec* codec)
{
    return !DetectionEncodage::utf16ou32(codec)
        && codec->fromUnicode(QStringLiteral("\n;")) == QByteArrayLiteral("\n;");
}

namespace {

int invalidesDans(QTextCodec* codec, const char* octets, qsizetype taille, QString* texte)
{
    QTextCodec::ConverterState etat;
    const QString decode = codec->toUnicode(octets, int(taille), &etat);
    if (texte)
        *texte = decode;
    return etat.invalidChars + (etat.remainingChars > 0 ? 1 : 0);
}

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
        if (invalidesDans(resultat.codec, ligne.data(), ligne.size(), nullptr) > 0)
            resultat.lignesInvalides.append(numero);
    }
    if (resultat.lignesInvalides.isEmpty())
        resultat.lignesInvalides.append(qMax(numero, 1));
}

} // namespace

TexteDecode decoder(
    const QByteArray& octets, QTextCodec* codec, int lignesVoulues, bool detecterBom)
{
    TexteDecode resultat;
    QTextCodec* parDefaut = codec ? codec : QTextCodec::codecForLocale();
    resultat.codec = detecterBom ? QTextCodec::codecForUtfText(octets, parDefaut) : parDefaut;
    // Without a mark, "UTF-16" alone would read the machine's byte order.
    if (resultat.codec->mibEnum() == 1015) {
        if (QTextCodec* sansMarque = DetectionEncodage::utf16SansMarque(octets))
            resultat.codec = sansMarque;
    }
    resultat.sequencesInvalides
        = invalidesDans(resultat.codec, octets.constData(), octets.size(), &resultat.texte);
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
