#pragma once

#include "app/verrou.h"
#include "settings/chemins.h"

#include <QString>

// Where Phylacto works: every file it reads and writes lies in its working
// directory ("data", "images", "icon.ico").
namespace Demarrage {

// What a start decides from. Paths are absolute, except argument: the DIR
// of the command line as typed, empty when none was given.
struct Emplacements
{
    QString argument;
    QString courant; // directory the program was started in
    QString personnel; // the user's home
    QString utilisateur; // per-user data folder (dossierUtilisateur())
    QString defauts; // installed "AddPicture.bmp" and "icon.ico"
    QString verrou = Chemins::verrouRelatif(); // relative to the working folder
};

// Name of the first collection file, written when the settings name none.
inline constexpr char nomCollectionParDefaut[] = "collection.csv";

// The XDG data location of the user followed by "Phylacto".
QString dossierUtilisateur();

// The installed defaults, found from the program's own directory so that a
// relocated installation still finds them.
QString dossierDefauts(const QString& dossierProgramme);

// A DIR argument wins; then a current directory that already holds
// "data/settings.ini"; a start from the home folder (or from "/", as some
// desktops do) goes to the per-user folder; else the current directory.
QString choisirDossierTravail(const Emplacements& emplacements);

// Makes dossier the working directory (created when missing) and makes sure
// it holds "data" and "images". Returns false with a reason on failure; a
// sub-folder that cannot be created is no failure unless something else
// stands in its place: a folder that cannot be written still opens, read-only.
bool preparerDossierTravail(const QString& dossier, QString* erreur);

// Copies "icon.ico" and "data/AddPicture.bmp" from defauts into dossier when
// they are missing there; a file already there is never replaced, a default
// that is not installed is skipped.
bool copierFichiersParDefaut(const QString& defauts, const QString& dossier, QString* erreur);

// Names a first collection file in "data/settings.ini" when "BASE/FileName"
// is empty: without a name nothing the user enters would ever be saved.
bool nommerCollection(const QString& dossier, QString* erreur);

// Chooses the keyless cover sources ("auto") in "data/settings.ini" when it
// names no cover source yet. Done by the start that creates the per-user
// folder, so that a new collector finds covers without a setting to change.
bool choisirSourcesCouvertures(const QString& dossier, QString* erreur);

// The whole start: chooses the folder, prepares and enters it, takes its
// lock into *verrou (asking before forcing another computer's) and, unless
// the folder opens read-only, copies the defaults, names the collection and,
// in a new per-user folder, the cover sources. Returns the folder, or an
// empty text with a reason, none when the user chose to quit.
QString demarrer(const Emplacements& emplacements, Verrou::Prise* verrou, QString* erreur);

} // namespace Demarrage
