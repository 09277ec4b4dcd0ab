#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextCodec;

// The application's "8-bit" codec: the one codec between byte strings and
// text used by the import, the legacy conversion and "Enregistrer sous".
// UTF-8 at start-up, then the encoding validated in the settings window.
namespace Codecs {

// Codec Qt knows by that name (looked up on the name's Latin-1 bytes), or nullptr.
QTextCodec* codecParNom(const QString& nom);

QTextCodec* codec8Bits();
// nullptr puts UTF-8 back.
void setCodec8Bits(QTextCodec* codec);

// The locale codec; nullptr returns to the system's own.
void setCodecLocale(QTextCodec* codec);

// The encodings offered for the collection file, in their order (settings
// window, and the suggestions of the load and the restore).
QStringList encodagesProposes();

} // namespace Codecs
