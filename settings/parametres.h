#pragma once

#include <QString>

class Chemins;
class QObject;
class QSettings;

// Every key of "data/settings.ini", with its default; the paths of the
// working folder are Chemins'. Nothing else in the program spells a key.
namespace Parametres {

enum class Cle {
    NomFichier,      // BASE/FileName: the collection file, relative to the working folder
    Encodage,        // BASE/Encodage: codec of the collection file
    ProxyAdresse,    // RESEAU/Address: empty means no proxy
    ProxyPort,       // RESEAU/Port
    ProxyLogin,      // RESEAU/Login
    ProxyMotDePasse, // RESEAU/Password
    AmazonEndpoint,  // AMAZON/Endpoint: the signed service of a deployment
    AmazonCle,       // AMAZON/AccessKeyId
    AmazonSecret,    // AMAZON/SecretKey
    Sauvegardes,     // BASE/Sauvegardes: dated backups kept, 0 for none
    CouverturesSource, // COUVERTURES/Source: signe, bnf, openlibrary, auto; absent: signe
    CouverturesBnf,    // COUVERTURES/BnF: base address of the national catalogue
    CouverturesOpenLibrary,       // COUVERTURES/OpenLibrary: its search
    CouverturesOpenLibraryImages, // COUVERTURES/OpenLibraryCouvertures: its cover host
    // The per-user interface file (ouvrirDisposition), not the collection's:
    FenetreGeometrie,   // FENETRE/Geometrie: the window's saved geometry, in Base64
    FenetreSeparateurs, // FENETRE/Separateurs: widths of the main panels, "a,b,c,d"
    FenetreColonnes,    // FENETRE/ColonnesAlbums: widths of the album table's columns
};

// "GROUP/Entry" of the key.
QString nom(Cle cle);
// Value used when the key is absent.
QString defaut(Cle cle);

// The key's text, or its default when absent.
QString lire(const QSettings& settings, Cle cle);
void ecrire(QSettings& settings, Cle cle, const QString& valeur);

struct Proxy
{
    QString adresse;
    QString port;
    QString login;
    QString motDePasse;
};
Proxy lireProxy(const QSettings& settings);
void ecrireProxy(QSettings& settings, const Proxy& proxy);

// "BASE/Sauvegardes" as a count; its default when not a count.
int nbSauvegardes(const QSettings& settings);

// The settings file of that working folder, INI format.
QSettings* ouvrir(const Chemins& chemins, QObject* parent);

// The per-user file of window sizes, in the user's configuration folder.
QSettings* ouvrirDisposition(QObject* parent);

// Writes the pending changes and keeps the file, which holds the proxy
// password, readable by its owner only.
void enregistrer(QSettings& settings);

} // namespace Parametres
