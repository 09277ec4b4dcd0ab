#include "model/isbn.h"

#include "model/traduction.h"

#include <QRegularExpression>

namespace Isbn {

using Traduction::tr;

namespace {

// Fewer digits than this are a title ("1984", "300"), not a number mistyped.
constexpr int chiffresMinNumero = 8;

QChar cle10(QStringView neufChiffres)
{
    int somme = 0;
    for (int i = 0; i < 9; ++i)
        somme += (10 - i) * neufChiffres[i].digitValue();
    const int cle = (11 - somme % 11) % 11;
    return cle == 10 ? QLatin1Char('X') : QChar(u'0' + cle);
}

} // namespace

QChar cle13(QStringView douzeChiffres)
{
    int somme = 0;
    for (int i = 0; i < 12; ++i)
        somme += (i % 2 ? 3 : 1) * douzeChiffres[i].digitValue();
    return QChar(u'0' + (10 - somme % 10) % 10);
}

Lecture lire(const QString& saisie)
{
    static const QRegularExpression prefixe(
        QStringLiteral("^\\s*ISBN(-1[03])?\\s*:?"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch trouve = prefixe.match(saisie);
    const QStringView texte = QStringView(saisie).mid(trouve.hasMatch() ? trouve.capturedEnd() : 0);

    QString chiffres;
    for (const QChar c : texte) {
        if (c.isDigit() && c.unicode() < 0x80)
            chiffres += c;
        else if (c == QLatin1Char('X') || c == QLatin1Char('x'))
            chiffres += QLatin1Char('X');
        else if (c != QLatin1Char('-') && c != QLatin1Char(' '))
            return {};
    }
    const qsizetype x = chiffres.indexOf(QLatin1Char('X'));
    if (chiffres.size() < chiffresMinNumero || (x >= 0 && !(x == 9 && chiffres.size() == 10)))
        return {};

    if (chiffres.size() == 10) {
        const QChar cle = cle10(chiffres);
        if (cle != chiffres.back())
            return { Nature::CleFausse, QString(), cle };
        const QString douze = QStringLiteral("978") + chiffres.left(9);
        return { Nature::Isbn13, douze + cle13(douze), QChar() };
    }
    if (chiffres.size() != 13)
        return { Nature::LongueurFausse, QString(), QChar() };
    const QChar cle = cle13(chiffres);
    if (cle != chiffres.back())
        return { Nature::CleFausse, QString(), cle };
    const bool livre
        = chiffres.startsWith(QLatin1String("978")) || chiffres.startsWith(QLatin1String("979"));
    return { livre ? Nature::Isbn13 : Nature::PasUnLivre, livre ? chiffres : QString(), QChar() };
}

QString texteErreur(const Lecture& lecture)
{
    switch (lecture.nature) {
    case Nature::CleFausse:
        return tr("Ce numéro est mal tapé : son dernier chiffre (la clé) devrait être %1.")
            .arg(lecture.cleAttendue);
    case Nature::LongueurFausse:
        return tr("Un ISBN a 10 ou 13 chiffres : vérifiez le numéro.");
    case Nature::PasUnLivre:
        return tr("Ce code-barres n'est pas celui d'un livre : un ISBN commence par 978 ou 979.");
    case Nature::Texte:
    case Nature::Isbn13:
        break;
    }
    return {};
}

} // namespace Isbn
