#include "app/demarrage.h"

#include "model/traduction.h"
#include "settings/parametres.h"
#include "store/memeemplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace Demarrage {

using Traduction::tr;

namespace {

bool echec(QString* erreur, const QString& raison)
{
    if (erreur)
        *erreur = raison;
    return false;
}

// Writes one key at once. A file Qt cannot parse (FormatError) has just been
// rewritten: starting on it is fine; only a file that cannot be written fails.
bool ecrireEtVerifier(
    QSettings& parametres, Parametres::Cle cle, const QString& valeur, QString* erreur)
{
    Parametres::ecrire(parametres, cle, valeur);
    parametres.sync();
    if (parametres.status() != QSettings::AccessError)
        return true;
    return echec(erreur,
        tr("impossible d'écrire %1 : vérifiez les droits sur ce fichier et son dossier")
            .arg(parametres.fileName()));
}

} // namespace

QString dossierUtilisateur()
{
    const QString donnees = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return donnees.isEmpty() ? QString() : QDir(donnees).filePath(QStringLiteral("Phylacto"));
}

QString dossierDefauts(const QString& dossierProgramme)
{
    return QDir::cleanPath(
        dossierProgramme + QLatin1Char('/') + QStringLiteral(PHYLACTO_DEFAUTS_RELATIFS));
}

QString choisirDossierTravail(const Emplacements& emplacements)
{
    const QDir courant(emplacements.courant);
    if (!emplacements.argument.isEmpty())
        return QDir::cleanPath(courant.absoluteFilePath(emplacements.argument));
    if (QFileInfo::exists(Chemins(emplacements.courant).fichierParametres()))
        return emplacements.courant;
    const bool depuisBureau = memeEmplacement(emplacements.courant, emplacements.personnel)
        || memeEmplacement(emplacements.courant, QDir::rootPath());
    if (depuisBureau && !emplacements.utilisateur.isEmpty())
        return emplacements.utilisateur;
    return emplacements.courant;
}

bool preparerDossierTravail(const QString& dossier, QString* erreur)
{
    QDir cible(dossier);
    if (!cible.exists() && !QDir().mkpath(dossier))
        return echec(erreur, tr("impossible de créer le dossier %1").arg(dossier));
    if (!QDir::setCurrent(cible.absolutePath()))
        return echec(erreur, tr("impossible d'entrer dans le dossier %1").arg(dossier));
    const Chemins chemins(QDir::currentPath());
    for (const QString& sousDossier : { chemins.dossierDonnees(), chemins.dossierImages() }) {
        // Without its final "/", a file standing in its place is seen.
        const QString chemin = QDir::cleanPath(sousDossier);
        if (!QDir().mkpath(chemin) && QFileInfo::exists(chemin))
            return echec(erreur, tr("impossible de créer le dossier %1 dans %2 (un fichier porte-t-il ce nom ?)")
                                     .arg(QFileInfo(chemin).fileName(), chemins.dossierTravail()));
    }
    return true;
}

bool copierFichiersParDefaut(const QString& defauts, const QString& dossier, QString* erreur)
{
    // Installed under the names they have in the working folder.
    const Chemins chemins(dossier);
    const QDir source(defauts);
    for (const QString& destination : { chemins.icone(), chemins.couvertureParDefaut() }) {
        const QString chemin = QDir::cleanPath(destination);
        const QString nom = QFileInfo(chemin).fileName();
        if (QFileInfo::exists(chemin) || !QFileInfo::exists(source.filePath(nom)))
            continue;
        if (!QFile::copy(source.filePath(nom), chemin))
            return echec(
                erreur, tr("impossible de copier %1 vers %2").arg(source.filePath(nom), chemin));
    }
    return true;
}

bool nommerCollection(const QString& dossier, QString* erreur)
{
    QSettings parametres(Chemins(dossier).fichierParametres(), QSettings::IniFormat);
    if (!Parametres::lire(parametres, Parametres::Cle::NomFichier).isEmpty())
        return true;
    return ecrireEtVerifier(parametres, Parametres::Cle::NomFichier,
        QLatin1String(nomCollectionParDefaut), erreur);
}

bool choisirSourcesCouvertures(const QString& dossier, QString* erreur)
{
    QSettings parametres(Chemins(dossier).fichierParametres(), QSettings::IniFormat);
    if (parametres.contains(Parametres::nom(Parametres::Cle::CouverturesSource)))
        return true;
    return ecrireEtVerifier(
        parametres, Parametres::Cle::CouverturesSource, QStringLiteral("auto"), erreur);
}

QString demarrer(const Emplacements& emplacements, Verrou::Prise* verrou, QString* erreur)
{
    const QString dossier = choisirDossierTravail(emplacements);
    const bool nouveauDossierPersonnel = memeEmplacement(dossier, emplacements.utilisateur)
        && !QFileInfo::exists(Chemins(dossier).fichierParametres());
    if (!preparerDossierTravail(dossier, erreur))
        return QString();
    const QString absolu = QDir::currentPath();

    // Locked before anything is written in it.
    const QString cheminVerrou = QDir(absolu).filePath(emplacements.verrou);
    verrou->verrou.reset();
    *verrou = Verrou::prendre(cheminVerrou, absolu);
    if (verrou->issue == Verrou::Prise::AutreOrdinateur && Verrou::confirmerForcage(*verrou, absolu))
        *verrou = Verrou::forcer(cheminVerrou, absolu);
    if (verrou->issue == Verrou::Prise::LectureSeule)
        return absolu;
    if (verrou->issue != Verrou::Prise::Pris) {
        echec(erreur, verrou->issue == Verrou::Prise::Occupe ? verrou->texte : QString());
        return QString();
    }
    if (!copierFichiersParDefaut(emplacements.defauts, absolu, erreur)
        || !nommerCollection(absolu, erreur)
        || (nouveauDossierPersonnel && !choisirSourcesCouvertures(absolu, erreur)))
        return QString();
    return absolu;
}

} // namespace Demarrage
