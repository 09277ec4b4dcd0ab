#include "store/lignecollection.h"

#include "model/bd.h"
#include "model/textespartages.h"

#include <charconv>

namespace LigneCollection {

namespace {

// A text as the file holds it: a ";" becomes "," so that the file always
// reads back, a line feed a space, so that the line stays one line.
char16_t* copierTexte(char16_t* sortie, const QString& valeur)
{
    const char16_t* c = reinterpret_cast<const char16_t*>(valeur.constData());
    const char16_t* const fin = c + valeur.size();
    for (; c != fin; ++c)
        *sortie++ = *c == u';' ? u',' : (*c == u'\n' ? u' ' : *c);
    *sortie++ = u';';
    return sortie;
}

char16_t* copierEntier(char16_t* sortie, int valeur)
{
    char chiffres[16];
    const char* const fin = std::to_chars(chiffres, chiffres + sizeof chiffres, valeur).ptr;
    for (const char* c = chiffres; c != fin; ++c)
        *sortie++ = char16_t(*c);
    *sortie++ = u';';
    return sortie;
}

// Plain decimal numbers, nearly all of them, without the general parser.
int lireEntier(QStringView champ)
{
    const qsizetype taille = champ.size();
    const bool negatif = taille > 0 && champ.front() == QLatin1Char('-');
    if (taille == 0 || taille - negatif > 9 || taille == negatif)
        return champ.toInt(nullptr, 10);
    int valeur = 0;
    for (qsizetype i = negatif; i < taille; ++i) {
        const char16_t c = champ[i].unicode();
        if (c < u'0' || c > u'9')
            return champ.toInt(nullptr, 10);
        valeur = valeur * 10 + (c - u'0');
    }
    return negatif ? -valeur : valeur;
}

} // namespace

QString encoder(const BD& album)
{
    QString ligne;
    ligne.reserve(160);
    ajouter(album, ligne);
    return ligne;
}

void ajouter(const BD& album, QString& sortie)
{
    const QString textes[] = { album.getSerie(), album.getTitre(), album.getDessinateur(),
        album.getScenariste(), album.getEditeur(), album.getCommentaire(), album.getGenre(),
        album.getImage(), album.getEmprunteur(), album.getDateEmprunt(), album.getTexte15(),
        album.getTexte19(), album.getColoriste() };
    // Nearly always 0: the number is seldom used.
    const QString reel
        = album.reel13 == 0.0 ? QStringLiteral("0") : QStringLiteral("%1").arg(album.reel13);
    qsizetype borne = reel.size() + nbChamps + 7 * 11;
    for (const QString& texte : textes)
        borne += texte.size();

    // Written in place, then cut to its length.
    const qsizetype debut = sortie.size();
    sortie.resize(debut + borne);
    char16_t* p = reinterpret_cast<char16_t*>(sortie.data()) + debut;
    p = copierTexte(p, textes[0]);
    p = copierTexte(p, textes[1]);
    p = copierEntier(p, album.tome);
    for (int i = 2; i < 6; ++i)
        p = copierTexte(p, textes[i]);
    p = copierEntier(p, album.entier8);
    for (int i = 6; i < 10; ++i)
        p = copierTexte(p, textes[i]);
    p = copierTexte(p, reel);
    p = copierEntier(p, album.type);
    p = copierTexte(p, textes[10]);
    p = copierEntier(p, album.note);
    p = copierEntier(p, album.serieFinie);
    p = copierEntier(p, album.nbEmprunts);
    p = copierTexte(p, textes[11]);
    p = copierTexte(p, textes[12]);
    --p; // the separator after the last field
    sortie.truncate(p - reinterpret_cast<const char16_t*>(sortie.constData()));
}

Parties decouper(QStringView ligne)
{
    // Views into the line: no list, no copy until a field becomes a text.
    // Fields are short: one plain walk beats a search per field.
    Parties parties;
    int& n = parties.nombre;
    const QChar* const caracteres = ligne.data();
    const qsizetype taille = ligne.size();
    qsizetype debut = 0;
    for (qsizetype i = 0; i < taille; ++i) {
        if (caracteres[i] != QLatin1Char(';'))
            continue;
        if (n < nbChamps)
            parties.champs[n] = QStringView(caracteres + debut, i - debut);
        ++n;
        debut = i + 1;
    }
    if (n < nbChamps)
        parties.champs[n] = QStringView(caracteres + debut, taille - debut);
    ++n;
    return parties;
}

void remplirPropres(const Parties& parties, ChampsAlbum& champs)
{
    const QStringView* p = parties.champs;
    champs.titre = p[1].toString();
    champs.tome = lireEntier(p[2]);
    champs.commentaire = p[6].toString();
    champs.entier8 = lireEntier(p[7]);
    champs.image = p[9].toString();
    champs.reel13 = p[12] == QLatin1Char('0') ? 0.0 : p[12].toDouble();
    champs.type = lireEntier(p[13]);
    champs.note = lireEntier(p[15]);
    champs.serieFinie = lireEntier(p[16]);
    champs.nbEmprunts = lireEntier(p[17]);
}

BD* decoder(QStringView ligne, int* nbParties, TextesPartages* textes)
{
    const Parties parties = decouper(ligne);
    if (nbParties)
        *nbParties = parties.nombre;
    if (!parties.valides())
        return nullptr;
    ChampsAlbum champs;
    remplirPropres(parties, champs);
    for (const ChampPartage& champ : champsPartages) {
        // The colourist of a 19-field line stays null.
        if (champ.colonne < parties.nombre) {
            const QStringView texte = parties.champs[champ.colonne];
            champs.*champ.membre = textes ? textes->partager(texte) : texte.toString();
        }
    }
    return new BD(std::move(champs));
}

bool contientSeparateur(const BD& album)
{
    const QChar sep = QLatin1Char(';');
    for (const QString& valeur : { album.getSerie(), album.getTitre(), album.getDessinateur(),
             album.getScenariste(), album.getEditeur(), album.getCommentaire(), album.getGenre(),
             album.getImage(), album.getEmprunteur(), album.getDateEmprunt(), album.getTexte15(),
             album.getTexte19(), album.getColoriste() }) {
        if (valeur.contains(sep))
            return true;
    }
    return false;
}

} // namespace LigneCollection
