#include "settings/parametres.h"

#include "settings/chemins.h"

#include <QFile>
#include <QSettings>

namespace Parametres {

namespace {

struct Definition
{
    Cle cle;
    const char* nom;
    const char* defaut;
};

constexpr Definition definitions[] = {
    { Cle::NomFichier, "BASE/FileName", "" },
    { Cle::Encodage, "BASE/Encodage", "" },
    { Cle::ProxyAdresse, "RESEAU/Address", "" },
    { Cle::ProxyPort, "RESEAU/Port", "" },
    { Cle::ProxyLogin, "RESEAU/Login", "" },
    { Cle::ProxyMotDePasse, "RESEAU/Password", "" },
    { Cle::AmazonEndpoint, "AMAZON/Endpoint", "" },
    { Cle::AmazonCle, "AMAZON/AccessKeyId", "" },
    { Cle::AmazonSecret, "AMAZON/SecretKey", "" },
    { Cle::Sauvegardes, "BASE/Sauvegardes", "10" },
    { Cle::CouverturesSource, "COUVERTURES/Source", "" },
    { Cle::CouverturesBnf, "COUVERTURES/BnF", "https://catalogue.bnf.fr" },
    { Cle::CouverturesOpenLibrary, "COUVERTURES/OpenLibrary", "https://openlibrary.org" },
    { Cle::CouverturesOpenLibraryImages, "COUVERTURES/OpenLibraryCouvertures",
        "https://covers.openlibrary.org" },
    { Cle::FenetreGeometrie, "FENETRE/Geometrie", "" },
    { Cle::FenetreSeparateurs, "FENETRE/Separateurs", "" },
    { Cle::FenetreColonnes, "FENETRE/ColonnesAlbums", "" },
};

const Definition& definition(Cle cle)
{
    for (const Definition& d : definitions) {
        if (d.cle == cle)
            return d;
    }
    Q_UNREACHABLE();
}

} // namespace

QString nom(Cle cle)
{
    return QString::fromLatin1(definition(cle).nom);
}

QString defaut(Cle cle)
{
    return QString::fromUtf8(definition(cle).defaut);
}

QString lire(const QSettings& settings, Cle cle)
{
    return settings.value(nom(cle), defaut(cle)).toString();
}

void ecrire(QSettings& settings, Cle cle, const QString& valeur)
{
    settings.setValue(nom(cle), valeur);
}

Proxy lireProxy(const QSettings& settings)
{
    return { lire(settings, Cle::ProxyAdresse), lire(settings, Cle::ProxyPort),
        lire(settings, Cle::ProxyLogin), lire(settings, Cle::ProxyMotDePasse) };
}

void ecrireProxy(QSettings& settings, const Proxy& proxy)
{
    ecrire(settings, Cle::ProxyAdresse, proxy.adresse);
    ecrire(settings, Cle::ProxyPort, proxy.port);
    ecrire(settings, Cle::ProxyLogin, proxy.login);
    ecrire(settings, Cle::ProxyMotDePasse, proxy.motDePasse);
}

int nbSauvegardes(const QSettings& settings)
{
    bool ok = false;
    const int nombre = lire(settings, Cle::Sauvegardes).trimmed().toInt(&ok);
    return ok && nombre >= 0 ? nombre : defaut(Cle::Sauvegardes).toInt();
}

QSettings* ouvrir(const Chemins& chemins, QObject* parent)
{
    return new QSettings(chemins.fichierParametres(), QSettings::IniFormat, parent);
}

QSettings* ouvrirDisposition(QObject* parent)
{
    return new QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("phylacto"),
        QStringLiteral("fenetre"), parent);
}

void enregistrer(QSettings& settings)
{
    settings.sync();
    if (QFile::exists(settings.fileName()))
        QFile::setPermissions(
            settings.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace Parametres
