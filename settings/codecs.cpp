#include "settings/codecs.h"

#include <QTextCodec>

namespace Codecs {

namespace {
QTextCodec* codecCourant = nullptr;
}

QTextCodec* codecParNom(const QString& nom)
{
    if (nom.isEmpty())
        return nullptr;
    return QTextCodec::codecForName(nom.toLatin1());
}

QTextCodec* codec8Bits()
{
    if (!codecCourant)
        codecCourant = QTextCodec::codecForName("UTF-8");
    return codecCourant;
}

void setCodec8Bits(QTextCodec* codec)
{
    codecCourant = codec ? codec : QTextCodec::codecForName("UTF-8");
}

void setCodecLocale(QTextCodec* codec)
{
    QTextCodec::setCodecForLocale(codec);
}

QStringList encodagesProposes()
{
    return { QStringLiteral("UTF8"), QStringLiteral("UTF-16"), QStringLiteral("Windows-1250"),
        QStringLiteral("KOI8-R"), QStringLiteral("Apple Roman"), QStringLiteral("Windows-1252"),
        QStringLiteral("ISO-8859-15") };
}

} // namespace Codecs
