#include "app/phylacto.h"

#include "settings/codecs.h"
#include "settings/gestionreseau.h"
#include "settings/parametres.h"

#include <QSettings>

void Phylacto::ConfigReseaux()
{
    auto valeur = [this](const char* cle) {
        return settings ? settings->value(QLatin1String(cle)).toString() : QString();
    };
    // Top-level on purpose; each use opens a window of its own.
    auto* fenetre = new GestionReseau(valeur("RESEAU/Address"), valeur("RESEAU/Port"),
        valeur("RESEAU/Login"), valeur("RESEAU/Password"), valeur("BASE/Encodage"));
    fenetre->setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window still ends the program while this one is open.
    fenetre->setAttribute(Qt::WA_QuitOnClose, false);
    connect(fenetre, &GestionReseau::validationReseau, this, &Phylacto::MAJReseau);
    connect(fenetre, &GestionReseau::validationReseau, this, &Phylacto::relayInfoReseau);
    connect(fenetre, &GestionReseau::validationEncodage, this, &Phylacto::MAJEncodage);
    fenetre->show();
}

void Phylacto::MAJReseau(QString aAdd, QString aPort, QString aLogin, QString aPassword)
{
    if (!settings)
        return;
    settings->setValue(QStringLiteral("RESEAU/Address"), aAdd);
    settings->setValue(QStringLiteral("RESEAU/Port"), aPort);
    settings->setValue(QStringLiteral("RESEAU/Login"), aLogin);
    settings->setValue(QStringLiteral("RESEAU/Password"), aPassword);
    Parametres::enregistrer(settings);
}

void Phylacto::MAJEncodage(QString aEncodage)
{
    if (settings) {
        settings->setValue(QStringLiteral("BASE/Encodage"), aEncodage);
        Parametres::enregistrer(settings);
    }
    // Literal texts stay UTF-8: only the byte strings follow the choice.
    Codecs::setCodec8Bits(Codecs::codecParNom(aEncodage));
    update();
}
