// Lines of the older ".db" files: the parser never reads out of its bytes, a
// parsed line written back in the same format parses to the same fields, and
// its converted line decodes as a collection line with those values.
#include "model/bd.h"
#include "store/ligneancienne.h"
#include "store/lignecollection.h"

#include <QByteArray>
#include <QTextCodec>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

QByteArray ecrire(const AlbumAncien& a)
{
    auto t = [](const QByteArray& v) { return '"' + v + '"'; };
    auto n = [](int v) { return QByteArray::number(v); };
    const QByteArray s = " ";
    return t(a.serie) + s + t(a.titre) + s + n(a.tome) + s + t(a.dessinateur) + s + t(a.scenariste)
        + s + t(a.editeur) + s + t(a.commentaire) + s + n(a.entier8) + s + t(a.genre) + s
        + t(a.image) + s + t(a.emprunteur) + s + t(a.dateEmprunt) + s
        + QByteArray::number(a.reel13, 'g', 17) + s + n(a.type) + s + t(a.texte15) + s + n(a.note)
        + s + n(a.serieFinie) + s + n(a.nbEmprunts) + s + t(a.texte19) + "\n";
}

bool memes(const AlbumAncien& a, const AlbumAncien& b)
{
    return a.serie == b.serie && a.titre == b.titre && a.tome == b.tome
        && a.dessinateur == b.dessinateur && a.scenariste == b.scenariste && a.editeur == b.editeur
        && a.commentaire == b.commentaire && a.entier8 == b.entier8 && a.genre == b.genre
        && a.image == b.image && a.emprunteur == b.emprunteur && a.dateEmprunt == b.dateEmprunt
        && a.reel13 == b.reel13 && a.type == b.type && a.texte15 == b.texte15 && a.note == b.note
        && a.serieFinie == b.serieFinie && a.nbEmprunts == b.nbEmprunts && a.texte19 == b.texte19;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    // A line as the file reader gives it: up to and including its line feed.
    const char* debut = reinterpret_cast<const char*>(donnees);
    size_t longueur = 0;
    while (longueur < taille && debut[longueur++] != '\n') { }
    // Exact size: the sanitizer sees any read past the line.
    const QByteArray ligne(debut, qsizetype(longueur));

    AlbumAncien album;
    if (!LigneAncienne::analyser(ligne, album))
        return 0;
    if (!std::isfinite(album.reel13))
        abort();
    AlbumAncien relu;
    if (!LigneAncienne::analyser(ecrire(album), relu) || !memes(album, relu))
        abort();

    static QTextCodec* const utf8 = QTextCodec::codecForName("UTF-8");
    static QTextCodec* const cp1250 = QTextCodec::codecForName("Windows-1250");
    for (QTextCodec* codec : { utf8, cp1250 }) {
        bool valide = false;
        const QByteArray converti = LigneAncienne::convertir(ligne, codec, &valide);
        if (!valide || !converti.endsWith('\n') || converti.count('\n') != 1
            || converti.contains('\\'))
            abort();
    }

    // The converted line read back as a collection line.
    bool valide = false;
    const QByteArray converti = LigneAncienne::convertir(ligne, utf8, &valide);
    const QString texte = utf8->toUnicode(converti).chopped(1);
    AlbumAncien brut;
    if (!LigneAncienne::analyser(utf8->fromUnicode(utf8->toUnicode(ligne)), brut))
        abort();
    int nbParties = 0;
    std::unique_ptr<BD> bd(LigneCollection::decoder(texte, &nbParties));
    const bool separateur = texte.count(QLatin1Char(';')) != LigneAncienne::nbChamps - 1;
    if (separateur != !bd)
        abort();
    if (!bd)
        return 0;
    auto t = [](const QByteArray& v) {
        return QString::fromUtf8(v).replace(QLatin1Char('\\'), QLatin1Char('/'));
    };
    if (bd->getSerie() != t(brut.serie) || bd->getTitre() != t(brut.titre) || bd->tome != brut.tome
        || bd->entier8 != brut.entier8 || bd->getImage() != t(brut.image) || bd->type != brut.type
        || bd->note != brut.note || bd->serieFinie != brut.serieFinie
        || bd->nbEmprunts != brut.nbEmprunts || bd->getTexte19() != t(brut.texte19)
        || bd->getTexte15() != t(brut.texte15) || !bd->getColoriste().isEmpty()
        || !std::isfinite(bd->reel13))
        abort();
    // Six significant digits: at most a relative half-unit of the sixth.
    if (std::fabs(bd->reel13 - brut.reel13) > std::fabs(brut.reel13) * 5e-6 + 1e-320)
        abort();
    return 0;
}
