#include "store/verificationcollection.h"

#include "store/decodage.h"
#include "store/fichiercollection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTextCodec>

#include <algorithm>
#include <climits>
#include <unordered_map>

namespace VerificationCollection {

namespace {

using Probleme = RapportVerification::Probleme;

QString tr(const char* texte)
{
    return QCoreApplication::translate("Phylacto", texte);
}

struct ColonneNombre
{
    int index;
    const char* nom;
};
constexpr ColonneNombre colonnesNombres[] = {
    { 2, "tome" }, { 7, "entier8" }, { 12, "reel13" }, { 13, "type" }, { 15, "note" },
    { 16, "serieFinie" }, { 17, "nbEmprunts" },
};

bool estNombre(QStringView champ, int index)
{
    bool ok = false;
    if (index == 12)
        (void)champ.toDouble(&ok);
    else
        (void)champ.toInt(&ok, 10);
    return ok;
}

class Verificateur
{
public:
    Verificateur(RapportVerification& rapport, const QString& dossierTravail)
        : m_rapport(rapport)
        , m_dossier(dossierTravail)
    {
    }

    void verifierLigne(QStringView ligne, int numero)
    {
        const QList<QStringView> champs = ligne.split(QLatin1Char(';'));
        if (champs.size() != 19 && champs.size() != 20) {
            signaler(Probleme::NombreDeChamps, numero,
                tr("%1 champs au lieu de 20").arg(champs.size()));
            return;
        }
        ++m_rapport.albums;
        for (const ColonneNombre& colonne : colonnesNombres) {
            const QStringView champ = champs.at(colonne.index);
            // An empty number reads as 0, as the load has always read it.
            if (!champ.isEmpty() && !estNombre(champ, colonne.index))
                signaler(Probleme::NombreInvalide, numero,
                    tr("« %1 » n'est pas un nombre (colonne %2, %3)")
                        .arg(champ.toString())
                        .arg(colonne.index + 1)
                        .arg(QLatin1String(colonne.nom)));
        }

        QString cle;
        cle.append(champs.at(0)).append(QChar(0)).append(champs.at(1));
        const auto [premier, nouveau] = m_lignesAlbums.try_emplace(cle, numero);
        if (!nouveau)
            signaler(Probleme::Doublon, numero,
                tr("même série et même titre que la ligne %1 (« %2 » - « %3 »)")
                    .arg(premier->second)
                    .arg(champs.at(0).toString(), champs.at(1).toString()));

        const QStringView image = champs.at(9);
        if (!image.isEmpty() && image != QLatin1String("_") && !couvertureExiste(image.toString()))
            signaler(Probleme::CouvertureAbsente, numero,
                tr("couverture introuvable : %1").arg(image.toString()));
    }

    void signaler(Probleme::Genre genre, int ligne, const QString& texte)
    {
        m_rapport.problemes.append({ genre, ligne, texte });
    }

private:
    bool couvertureExiste(const QString& image)
    {
        const auto trouve = m_couvertures.constFind(image);
        if (trouve != m_couvertures.cend())
            return *trouve;
        const bool existe = QFileInfo(m_dossier.filePath(image)).isFile();
        m_couvertures.insert(image, existe);
        return existe;
    }

    RapportVerification& m_rapport;
    QDir m_dossier;
    std::unordered_map<QString, int> m_lignesAlbums;
    QHash<QString, bool> m_couvertures;
};

} // namespace

RapportVerification verifierOctets(
    const QByteArray& octets, QTextCodec* codec, const QString& dossierTravail)
{
    RapportVerification rapport;
    Verificateur verificateur(rapport, dossierTravail);
    const TexteDecode decode = Decodage::decoder(octets, codec, INT_MAX);
    for (const int ligne : decode.lignesInvalides)
        verificateur.signaler(Probleme::OctetsInvalides, ligne,
            tr("octets invalides en %1").arg(QString::fromLatin1(decode.codec->name())));

    const QStringView texte(decode.texte);
    qsizetype debut = 0;
    while (debut < texte.size()) {
        qsizetype fin = texte.indexOf(QLatin1Char('\n'), debut);
        if (fin < 0)
            fin = texte.size();
        QStringView ligne = texte.mid(debut, fin - debut);
        if (ligne.endsWith(QLatin1Char('\r')))
            ligne.chop(1);
        debut = fin + 1;
        verificateur.verifierLigne(ligne, ++rapport.lignes);
    }
    std::stable_sort(rapport.problemes.begin(), rapport.problemes.end(),
        [](const Probleme& a, const Probleme& b) { return a.ligne < b.ligne; });
    return rapport;
}

RapportVerification verifierFichier(
    const QString& chemin, QTextCodec* codec, const QString& dossierTravail)
{
    QByteArray octets;
    QString erreur;
    if (!FichierCollection::lireOctets(chemin, &octets, &erreur)) {
        RapportVerification rapport;
        rapport.lisible = false;
        rapport.erreur = erreur;
        return rapport;
    }
    return verifierOctets(octets, codec, dossierTravail);
}

QStringList texte(const RapportVerification& rapport, const QString& fichier)
{
    if (!rapport.lisible)
        return { tr("%1 : illisible (%2)").arg(fichier, rapport.erreur) };
    QStringList lignes;
    lignes.reserve(rapport.problemes.size() + 1);
    for (const Probleme& probleme : rapport.problemes)
        lignes.append(tr("ligne %1 : %2").arg(probleme.ligne).arg(probleme.texte));
    if (rapport.problemes.isEmpty())
        lignes.append(tr("%1 : %2 albums, aucun problème").arg(fichier).arg(rapport.albums));
    else
        lignes.append(tr("%1 : %2 albums, %3 problème(s) sur %4 ligne(s)")
                          .arg(fichier)
                          .arg(rapport.albums)
                          .arg(rapport.problemes.size())
                          .arg(rapport.lignes));
    return lignes;
}

int codeSortie(const RapportVerification& rapport)
{
    if (!rapport.lisible)
        return 2;
    return rapport.problemes.isEmpty() ? 0 : 1;
}

} // namespace VerificationCollection
