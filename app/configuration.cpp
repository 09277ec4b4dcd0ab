#include "app/phylacto.h"

#include "dialogs/gestionreseau.h"
#include "settings/codecs.h"
#include "settings/parametres.h"

#include <QSettings>
#include <QWindow>

using Parametres::Cle;

void Phylacto::ConfigReseaux()
{
    const Parametres::Proxy proxy = Parametres::lireProxy(*settings);
    // Top-level on purpose; each use opens a window of its own.
    auto* fenetre = new GestionReseau(
        proxy.adresse, proxy.port, proxy.login, proxy.motDePasse, encodageCollection());
    fenetre->setNbSauvegardes(Parametres::nbSauvegardes(*settings));
    fenetre->setSourceCouvertures(Parametres::lire(*settings, Cle::CouverturesSource));
    fenetre->setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window still ends the program while this one is open.
    fenetre->setAttribute(Qt::WA_QuitOnClose, false);
    connect(fenetre, &GestionReseau::validationReseau, this, &Phylacto::MAJReseau);
    connect(fenetre, &GestionReseau::validationReseau, this, &Phylacto::relayInfoReseau);
    connect(fenetre, &GestionReseau::validationEncodage, this, &Phylacto::MAJEncodage);
    connect(fenetre, &GestionReseau::validationSauvegardes, this, [this](int nombre) {
        Parametres::ecrire(*settings, Cle::Sauvegardes, QString::number(nombre));
        Parametres::enregistrer(*settings);
    });
    connect(fenetre, &GestionReseau::validationSourceCouvertures, this, [this](QString aSource) {
        // Choosing the signed service while no source is stored leaves the key
        // absent: an absent key means the signed service.
        if (aSource == Parametres::lire(*settings, Cle::CouverturesSource)
            || (aSource == QLatin1String("signe")
                && !settings->contains(Parametres::nom(Cle::CouverturesSource))))
            return;
        Parametres::ecrire(*settings, Cle::CouverturesSource, aSource);
        Parametres::enregistrer(*settings);
    });
    // Still top-level, but kept above the main window and centred on it.
    fenetre->winId();
    if (windowHandle())
        fenetre->windowHandle()->setTransientParent(windowHandle());
    fenetre->adjustSize();
    fenetre->move(frameGeometry().center() - fenetre->rect().center());
    fenetre->show();
}

void Phylacto::MAJReseau(QString aAdd, QString aPort, QString aLogin, QString aPassword)
{
    Parametres::ecrireProxy(*settings, { aAdd, aPort, aLogin, aPassword });
    Parametres::enregistrer(*settings);
}

void Phylacto::MAJEncodage(QString aEncodage)
{
    // The file on disk is still in the stored encoding: the new one is stored
    // once save() has rewritten the file in it. Quitting without saving
    // leaves both as they were.
    if (Codecs::codecParNom(aEncodage)
        == Codecs::codecParNom(Parametres::lire(*settings, Cle::Encodage))) {
        m_encodageEnAttente.clear();
        Parametres::ecrire(*settings, Cle::Encodage, aEncodage);
        Parametres::enregistrer(*settings);
    } else {
        m_encodageEnAttente = aEncodage;
        setModifie(true);
    }
    // Literal texts stay UTF-8: only the byte strings follow the choice.
    Codecs::setCodec8Bits(Codecs::codecParNom(aEncodage));
    update();
}
