#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextCodec;

// Which offered encoding a file's bytes are in. Byte-order marks and UTF-16
// are told by the bytes themselves, UTF-8 by its own rules, and the
// single-byte encodings by ICU's charset detector.
namespace DetectionEncodage {

// The encoding of proposes (and only of it) that the bytes are most likely
// in and that decodes them without an invalid sequence, other than exclu's
// codec; empty when none does. Without a usable answer of the detector, the
// first that decodes them, UTF-8 first, Western before Central European,
// Western before Russian.
QString suggerer(const QByteArray& octets, const QStringList& proposes, QTextCodec* exclu);

// True when the bytes are valid UTF-8 and hold at least one non-ASCII character.
bool utf8NonAscii(const QByteArray& octets);
// The same for a piece of a file cut after a line feed: ASCII only, valid
// UTF-8 with other characters, or not UTF-8. A file is utf8NonAscii when none
// of its pieces is PasUtf8 and one at least is Utf8.
enum class NatureUtf8 { Ascii, Utf8, PasUtf8 };
NatureUtf8 natureUtf8(const char* octets, qsizetype taille);

// UTF-16 or UTF-32, in either byte order: the encodings in which a line
// feed or a ";" is not a byte of its own.
bool utf16ou32(const QTextCodec* codec);
// UTF-8, UTF-16 or UTF-32: the encodings in which a byte is not a character.
bool unicode(const QTextCodec* codec);

// UTF-16LE or UTF-16BE for bytes without a byte-order mark whose NUL bytes
// (the high byte of ASCII characters) sit on one side; nullptr otherwise.
QTextCodec* utf16SansMarque(const QByteArray& octets);

} // namespace DetectionEncodage
