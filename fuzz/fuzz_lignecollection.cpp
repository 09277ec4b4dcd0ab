// Collection lines: decoding never fails badly, and a decoded album written
// back and decoded again writes the same line (what the next save would).
#include "model/bd.h"
#include "model/catalogue.h"
#include "store/fichiercollection.h"
#include "store/lignecollection.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    const QString texte
        = QString::fromUtf8(reinterpret_cast<const char*>(donnees), qsizetype(taille));

    int nbParties = -1;
    std::unique_ptr<BD> album(LigneCollection::decoder(texte, &nbParties));
    if (nbParties < 1)
        abort();
    if (album) {
        if (nbParties != 19 && nbParties != 20)
            abort();
        const QString ligne = LigneCollection::encoder(*album);
        if (ligne.contains(QLatin1Char('\n')) || LigneCollection::contientSeparateur(*album))
            abort();
        int relues = 0;
        std::unique_ptr<BD> relu(LigneCollection::decoder(ligne, &relues));
        if (!relu || relues != LigneCollection::nbChamps)
            abort();
        if (LigneCollection::encoder(*relu) != ligne)
            abort();
    }

    // The whole input as a file: one album per good line up to the first bad one.
    Catalogue catalogue;
    const LectureCollection lecture = FichierCollection::lireTexte(texte, catalogue);
    if (lecture.albumsLus != catalogue.albums().size())
        abort();
    if (lecture.etat == LectureCollection::LigneInvalide
        && (lecture.nbChamps == 19 || lecture.nbChamps == 20
            || lecture.numeroLigne != lecture.albumsLus + 1))
        abort();
    return 0;
}
