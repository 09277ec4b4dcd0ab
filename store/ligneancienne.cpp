#include "store/ligneancienne.h"

#include <QTextCodec>

#include <cfloat>
#include <charconv>
#include <climits>

namespace LigneAncienne {

namespace {

bool estBlanc(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool estChiffre(char c)
{
    return c >= '0' && c <= '9';
}

// Value of c as a digit of any base up to 16, or 16 when it is none.
int valeurChiffre(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 16;
}

// A decimal number too large or too small for a double: the largest finite
// one or zero, with its sign, so that it is written and read back as a number.
double horsLimites(const char* debut, const char* fin)
{
    const bool negatif = *debut == '-';
    const char* q = (*debut == '+' || *debut == '-') ? debut + 1 : debut;
    // Decimal exponent of the first significant digit.
    long long rang = 0;
    bool trouve = false;
    long long entiers = 0;
    for (; q < fin && estChiffre(*q); ++q) {
        if (trouve || *q != '0') {
            trouve = true;
            ++entiers;
        }
    }
    if (trouve) {
        rang = entiers - 1;
    } else if (q < fin && *q == '.') {
        rang = -1;
        for (++q; q < fin && *q == '0'; ++q)
            --rang;
    }
    while (q < fin && *q != 'e' && *q != 'E')
        ++q;
    long long exposant = 0;
    if (q < fin) {
        ++q;
        const bool exposantNegatif = q < fin && *q == '-';
        if (q < fin && (*q == '+' || *q == '-'))
            ++q;
        for (; q < fin && estChiffre(*q); ++q)
            exposant = qMin<long long>(exposant * 10 + (*q - '0'), 1000000000);
        if (exposantNegatif)
            exposant = -exposant;
    }
    const double grandeur = rang + exposant > 0 ? DBL_MAX : 0.0;
    return negatif ? -grandeur : grandeur;
}

// Walks a line field by field. Every read moves on only past what it took.
class Lecteur
{
public:
    explicit Lecteur(QByteArrayView ligne)
        : p(ligne.data())
        , fin(ligne.data() + ligne.size())
    {
    }

    void blancs()
    {
        while (p < fin && estBlanc(*p))
            ++p;
    }

    bool texte(QByteArray& valeur)
    {
        if (p == fin || *p != '"')
            return false;
        const char* debut = p + 1;
        const char* q = debut;
        while (q < fin && *q != '"')
            ++q;
        if (q == fin || q == debut)
            return false;
        valeur = QByteArray(debut, q - debut);
        p = q + 1;
        return true;
    }

    bool entier(int& valeur)
    {
        blancs();
        const char* q = p;
        bool negatif = false;
        if (q < fin && (*q == '+' || *q == '-')) {
            negatif = *q == '-';
            ++q;
        }
        int base = 10;
        if (q < fin && *q == '0') {
            base = 8;
            // "0x" without a hexadecimal digit after it is the number 0.
            if (q + 2 < fin && (q[1] == 'x' || q[1] == 'X') && valeurChiffre(q[2]) < 16) {
                base = 16;
                q += 2;
            }
        }
        // Past the int range the magnitude only needs to stay above the limit.
        const quint64 plafond = quint64(INT_MAX) + 1;
        quint64 magnitude = 0;
        const char* chiffres = q;
        while (q < fin) {
            const int chiffre = valeurChiffre(*q);
            if (chiffre >= base)
                break;
            magnitude = magnitude * base + chiffre;
            if (magnitude > plafond)
                magnitude = plafond;
            ++q;
        }
        if (q == chiffres)
            return false;
        if (negatif)
            valeur = magnitude >= plafond ? INT_MIN : -int(magnitude);
        else
            valeur = magnitude >= plafond ? INT_MAX : int(magnitude);
        p = q;
        return true;
    }

    bool reel(double& valeur)
    {
        blancs();
        const char* q = p;
        if (q < fin && (*q == '+' || *q == '-'))
            ++q;
        int nbChiffres = 0;
        while (q < fin && estChiffre(*q)) {
            ++q;
            ++nbChiffres;
        }
        if (q < fin && *q == '.') {
            ++q;
            while (q < fin && estChiffre(*q)) {
                ++q;
                ++nbChiffres;
            }
        }
        if (nbChiffres == 0)
            return false;
        // An exponent counts only with at least one digit: "1e" is 1 then "e".
        if (q < fin && (*q == 'e' || *q == 'E')) {
            const char* e = q + 1;
            if (e < fin && (*e == '+' || *e == '-'))
                ++e;
            if (e < fin && estChiffre(*e)) {
                while (e < fin && estChiffre(*e))
                    ++e;
                q = e;
            }
        }
        // from_chars takes neither a '+' nor the locale's decimal separator.
        const char* debut = (*p == '+') ? p + 1 : p;
        double lu = 0;
        const std::from_chars_result r = std::from_chars(debut, q, lu, std::chars_format::general);
        if (r.ec == std::errc::result_out_of_range)
            lu = horsLimites(debut, q);
        else if (r.ec != std::errc() || r.ptr != q)
            return false;
        valeur = lu;
        p = q;
        return true;
    }

private:
    const char* p;
    const char* fin;
};

} // namespace

bool analyser(QByteArrayView ligne, AlbumAncien& a)
{
    Lecteur l(ligne);
    // Every field but the first may be preceded by white space.
    auto t = [&l](QByteArray& v) {
        l.blancs();
        return l.texte(v);
    };
    return l.texte(a.serie) && t(a.titre) && l.entier(a.tome) && t(a.dessinateur) && t(a.scenariste)
        && t(a.editeur) && t(a.commentaire) && l.entier(a.entier8) && t(a.genre) && t(a.image)
        && t(a.emprunteur) && t(a.dateEmprunt) && l.reel(a.reel13) && l.entier(a.type)
        && t(a.texte15) && l.entier(a.note) && l.entier(a.serieFinie) && l.entier(a.nbEmprunts)
        && t(a.texte19);
}

QString ligneConvertie(const AlbumAncien& a, QTextCodec* codec)
{
    const QChar sep = QLatin1Char(';');
    auto t = [codec](const QByteArray& octets) { return codec->toUnicode(octets); };
    auto n = [](int valeur) { return QString::number(valeur); };
    QString ligne;
    ligne.reserve(160);
    ligne += t(a.serie) + sep + t(a.titre) + sep + n(a.tome) + sep + t(a.dessinateur) + sep
        + t(a.scenariste) + sep + t(a.editeur) + sep + t(a.commentaire) + sep + n(a.entier8) + sep
        + t(a.genre) + sep + t(a.image) + sep + t(a.emprunteur) + sep + t(a.dateEmprunt) + sep
        + QStringLiteral("%1").arg(a.reel13) + sep + n(a.type) + sep + t(a.texte15) + sep
        + n(a.note) + sep + n(a.serieFinie) + sep + n(a.nbEmprunts) + sep + t(a.texte19);
    ligne.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // One ";" in a text would make 20 fields, which the import takes for a
    // line with a colourist, every field after it shifted: one more field
    // makes the import refuse the line as it refuses any other bad one.
    if (ligne.count(sep) == nbChamps)
        ligne += sep;
    ligne += QLatin1Char('\n');
    return ligne;
}

QByteArray convertir(QByteArrayView ligne, QTextCodec* codec, bool* valide)
{
    // The bytes go through the codec both ways, as every text of the program does.
    const QByteArray octets = codec->fromUnicode(
        codec->toUnicode(ligne.data(), int(qMin<qsizetype>(ligne.size(), INT_MAX))));
    AlbumAncien album;
    const bool ok = analyser(octets, album);
    if (valide)
        *valide = ok;
    if (!ok)
        return {};
    return codec->fromUnicode(ligneConvertie(album, codec));
}

} // namespace LigneAncienne
