// Search answers of the keyless cover sources, as any server may send them:
// reading never fails badly, an answer that is not one of the service offers
// nothing, every cover offered lies on the service's own host, and the
// ranking offers each address once.
#include "covers/sourcescouvertures.h"

#include <QByteArray>
#include <QSet>

#include <cstdint>
#include <cstdlib>

using namespace SourcesCouvertures;

namespace {

void verifier(const Lecture& lecture, const QUrl& base, const AlbumCherche& album)
{
    if (!lecture.valide && !lecture.notices.isEmpty())
        abort();
    for (const Notice& notice : lecture.notices) {
        if (!notice.couverture.isValid() || notice.couverture.host() != base.host())
            abort();
    }
    const QList<QUrl> classees = classer(lecture.notices, album);
    if (classees.size() > lecture.notices.size()
        || QSet<QUrl>(classees.begin(), classees.end()).size() != classees.size())
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    const QByteArray octets
        = QByteArray::fromRawData(reinterpret_cast<const char*>(donnees), qsizetype(taille));
    const QUrl base(QStringLiteral("https://catalogue.test/"));
    // An album named by the answer's first words, so that some records match it.
    const QString debut = QString::fromUtf8(octets.left(64));
    const AlbumCherche album { debut, debut.section(QLatin1Char(' '), 0, 1),
        debut.section(QLatin1Char(' '), 2), int(taille % 20) };
    verifier(lireReponseSru(octets, base), base, album);
    verifier(lireReponseOpenLibrary(octets, base), base, album);
    return 0;
}
