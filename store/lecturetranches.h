#pragma once

#include "store/avancement.h"

#include <QByteArray>
#include <QStringView>

class Catalogue;
class QTextCodec;
struct LectureCollection;

// A collection read by slices cut after line feeds: the slices are decoded
// and split into fields on every processor, while the albums are made and
// attached on the calling thread, in file order (albums and series belong to
// that thread). Everything comes out as from a reading line by line: the
// albums and series, the shared texts, the first bad line, the invalid bytes
// and the progress reports.
namespace LectureTranches {

// About how many bytes (or characters) a slice holds; tests make it tiny.
qsizetype taille();
void setTaille(qsizetype taille);

// The lines of texte attached to the catalogue (see FichierCollection::lireTexte);
// avancement hears the characters read.
LectureCollection lireTexte(
    QStringView texte, Catalogue& catalogue, const Avancement& avancement = {});

// The same for bytes decoded with codec, which must be Decodage::decoupable;
// the sequences codec cannot decode are counted with the first line holding
// one, and bytes that are UTF-8 read with a single-byte codec are told
// (utf8EnMonoOctet). avancement hears the bytes read.
LectureCollection lireOctets(const QByteArray& octets, QTextCodec* codec, Catalogue& catalogue,
    const Avancement& avancement = {});

} // namespace LectureTranches
