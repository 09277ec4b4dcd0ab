#include "store/verificationcollection.h"

#include "model/bd.h"
#include "model/traduction.h"
#include "store/decodage.h"
#include "store/decoupelignes.h"
#include "store/fichiercollection.h"
#include "store/lecturefichier.h"
#include "store/lignecollection.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTextCodec>

#include <unordered_map>

namespace VerificationCollection {

using Traduction::tr;

namespace {

using Probleme = RapportVerification::Probleme;

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
    Verificateur(RapportVerification& rapport, const QString& dossierTravail,
        const Signalement& signalement)
        : m_rapport(rapport)
        , m_dossier(dossierTravail)
        , m_signalement(signalement)
    {
    }

    void verifierLigne(QStringView ligne, int numero)
    {
        // Counted first: a file of garbage is mostly lines like these.
        const qsizetype separateurs = ligne.count(QLatin1Char(';'));
        if (!LigneCollection::nombreDeChampsValide(separateurs + 1)) {
            signaler(Probleme::NombreDeChamps, numero,
                [&] { return tr("%1 champs au lieu de 20").arg(separateurs + 1); });
            return;
        }
        const QList<QStringView> champs = ligne.split(QLatin1Char(';'));
        ++m_rapport.albums;
        for (const ColonneNombre& colonne : colonnesNombres) {
            const QStringView champ = champs.at(colonne.index);
            // An empty number is not a fault: the load reads it as 0.
            if (!champ.isEmpty() && !estNombre(champ, colonne.index))
                signaler(Probleme::NombreInvalide, numero, [&] {
                    return tr("« %1 » n'est pas un nombre (colonne %2, %3)")
                        .arg(champ.toString())
                        .arg(colonne.index + 1)
                        .arg(QLatin1String(colonne.nom));
                });
        }

        QString cle;
        cle.append(champs.at(0)).append(QChar(0)).append(champs.at(1));
        const auto [premier, nouveau] = m_lignesAlbums.try_emplace(cle, numero);
        if (!nouveau)
            signaler(Probleme::Doublon, numero, [&, lignePremier = premier->second] {
                return tr("même série et même titre que la ligne %1 (« %2 » - « %3 »)")
                    .arg(lignePremier)
                    .arg(champs.at(0).toString(), champs.at(1).toString());
            });

        const QStringView image = champs.at(9);
        if (!marqueAucun(image) && !couvertureExiste(image.toString()))
            signaler(Probleme::CouvertureAbsente, numero,
                [&] { return tr("couverture introuvable : %1").arg(image.toString()); });
    }

    // The text is made only for the problems told.
    template <typename Texte> void signaler(Probleme::Genre genre, int ligne, Texte texte)
    {
        if (++m_rapport.problemes <= problemesDetailles && m_signalement)
            m_signalement({ genre, ligne, texte() });
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
    const Signalement& m_signalement;
    std::unordered_map<QString, int> m_lignesAlbums;
    QHash<QString, bool> m_couvertures;
};

constexpr qint64 tailleTranche = qint64(1) << 20;

// Cuts the source into lines and hands each one, decoded, to the checker.
class Lignes
{
public:
    Lignes(RapportVerification& rapport, Verificateur& verificateur, QTextCodec* codec)
        : m_rapport(rapport)
        , m_verificateur(verificateur)
        , m_codec(codec)
        , m_parOctets(Decodage::compatibleAscii(codec))
    {
    }

    void lire(QIODevice& source)
    {
        QByteArray tranche;
        while (!(tranche = source.read(tailleTranche)).isEmpty()) {
            if (m_parOctets) {
                couperOctets(tranche);
            } else {
                m_pointVirguleOctets = m_pointVirguleOctets || tranche.contains(';');
                couperTexte(m_codec->toUnicode(tranche.constData(), int(tranche.size()), &m_etat));
            }
        }
        if (m_parOctets)
            finirOctets();
        else
            finirTexte();
    }

private:
    // Codecs where a line feed is the byte 0x0A: each line is decoded alone,
    // so that its own invalid bytes are found.
    void couperOctets(const QByteArray& tranche)
    {
        DecoupeLignes<QByteArrayView> lignes(tranche);
        for (QByteArrayView morceau; lignes.suivante(morceau);) {
            if (m_tropLongue || m_reste.size() + morceau.size() > octetsLigneMax) {
                m_tropLongue = true;
                m_reste.clear();
            } else if (lignes.finie() && m_reste.isEmpty()) {
                ligneOctets(morceau);
            } else {
                m_reste.append(morceau);
            }
            if (!lignes.finie())
                return;
            if (!m_tropLongue && !m_reste.isEmpty())
                ligneOctets(std::exchange(m_reste, {}));
            else if (m_tropLongue)
                ligneTropLongue();
        }
    }

    void finirOctets()
    {
        if (m_tropLongue)
            ligneTropLongue();
        else if (!m_reste.isEmpty())
            ligneOctets(m_reste);
    }

    void ligneOctets(QByteArrayView octets)
    {
        const int numero = ++m_rapport.lignes;
        QString texte;
        if (!octets.isEmpty()) {
            QTextCodec::ConverterState etat;
            texte = m_codec->toUnicode(octets.data(), int(octets.size()), &etat);
            if (etat.invalidChars > 0 || etat.remainingChars > 0)
                octetsInvalides(numero);
            // Only a character cut at the end: nothing of it reaches the text.
            if (texte.isEmpty())
                return;
        }
        verifier(texte, numero);
    }

    // UTF-16 and UTF-32: one decoder for the whole file, lines cut in the text.
    void couperTexte(const QString& texte)
    {
        m_pointVirguleTexte = m_pointVirguleTexte || texte.contains(QLatin1Char(';'));
        DecoupeLignes<QStringView> lignes(texte);
        for (QStringView morceau; lignes.suivante(morceau);) {
            if (m_tropLongue || m_resteTexte.size() + morceau.size() > octetsLigneMax / 2) {
                m_tropLongue = true;
                m_resteTexte.clear();
            } else {
                m_resteTexte.append(morceau);
            }
            if (!lignes.finie())
                return;
            if (m_tropLongue)
                ligneTropLongue();
            else
                ligneTexte(std::exchange(m_resteTexte, {}));
        }
    }

    void finirTexte()
    {
        // Cut inside a character at the end.
        const bool coupe = m_etat.remainingChars > 0;
        if (m_tropLongue)
            ligneTropLongue();
        else if (!m_resteTexte.isEmpty())
            ligneTexte(m_resteTexte, coupe);
        if (coupe)
            octetsInvalides(qMax(m_rapport.lignes, 1));
        // A UTF-8 file read as UTF-16 decodes without error into a text
        // without any ";".
        if (m_etat.invalidChars == 0 && m_pointVirguleOctets && !m_pointVirguleTexte)
            octetsInvalides(1);
    }

    void ligneTexte(const QString& texte, bool coupe = false)
    {
        const int numero = ++m_rapport.lignes;
        if (coupe || (m_etat.invalidChars > 0 && texte.contains(QChar(QChar::ReplacementCharacter))))
            octetsInvalides(numero);
        verifier(texte, numero);
    }

    void verifier(QStringView ligne, int numero)
    {
        m_verificateur.verifierLigne(sansRetourChariot(ligne), numero);
    }

    void octetsInvalides(int numero)
    {
        if (std::exchange(m_ligneInvalide, numero) == numero)
            return;
        m_verificateur.signaler(Probleme::OctetsInvalides, numero,
            [this] { return tr("octets invalides en %1").arg(QString::fromLatin1(m_codec->name())); });
    }

    void ligneTropLongue()
    {
        m_tropLongue = false;
        const int numero = ++m_rapport.lignes;
        m_verificateur.signaler(Probleme::LigneTropLongue, numero, [] {
            return tr("ligne de plus de %1, non vérifiée").arg(LectureFichier::enMo(octetsLigneMax));
        });
    }

    RapportVerification& m_rapport;
    Verificateur& m_verificateur;
    QTextCodec* m_codec;
    const bool m_parOctets;
    QTextCodec::ConverterState m_etat;
    QByteArray m_reste; // the start of a line, from the slices before
    QString m_resteTexte;
    bool m_tropLongue = false; // the line under way is skipped to its end
    int m_ligneInvalide = 0; // the last line told to hold invalid bytes
    bool m_pointVirguleOctets = false;
    bool m_pointVirguleTexte = false;
};

} // namespace

RapportVerification verifier(QIODevice& source, QTextCodec* codec,
    const QString& dossierTravail, const Signalement& signaler)
{
    RapportVerification rapport;
    Verificateur verificateur(rapport, dossierTravail, signaler);
    // A byte-order mark chooses the encoding; its codec leaves it out of the text.
    QTextCodec* lu = QTextCodec::codecForUtfText(
        source.peek(4), codec ? codec : QTextCodec::codecForLocale());
    Lignes(rapport, verificateur, lu).lire(source);
    return rapport;
}

RapportVerification verifierOctets(const QByteArray& octets, QTextCodec* codec,
    const QString& dossierTravail, const Signalement& signaler)
{
    QBuffer source;
    source.setData(octets);
    source.open(QIODevice::ReadOnly);
    return verifier(source, codec, dossierTravail, signaler);
}

RapportVerification verifierFichier(const QString& chemin, QTextCodec* codec,
    const QString& dossierTravail, const Signalement& signaler)
{
    QFile fichier;
    RapportVerification rapport;
    if (!LectureFichier::ouvrir(chemin, FichierCollection::tailleMax, fichier, &rapport.erreur)) {
        rapport.lisible = false;
        return rapport;
    }
    return verifier(fichier, codec, dossierTravail, signaler);
}

QString texte(const RapportVerification::Probleme& probleme)
{
    return tr("ligne %1 : %2").arg(probleme.ligne).arg(probleme.texte);
}

QString bilan(const RapportVerification& rapport, const QString& fichier)
{
    if (!rapport.lisible)
        return tr("%1 : illisible (%2)").arg(fichier, rapport.erreur);
    if (rapport.problemes == 0)
        return tr("%1 : %2 albums, aucun problème").arg(fichier).arg(rapport.albums);
    QString texte = tr("%1 : %2 albums, %3 problème(s) sur %4 ligne(s)")
                        .arg(fichier)
                        .arg(rapport.albums)
                        .arg(rapport.problemes)
                        .arg(rapport.lignes);
    if (rapport.problemes > problemesDetailles)
        texte += tr(" ; seuls les %1 premiers sont détaillés").arg(problemesDetailles);
    return texte;
}

int codeSortie(const RapportVerification& rapport)
{
    if (!rapport.lisible)
        return 2;
    return rapport.problemes == 0 ? 0 : 1;
}

} // namespace VerificationCollection
