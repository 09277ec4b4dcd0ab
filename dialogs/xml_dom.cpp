#include "dialogs/xml_dom.h"

#include "covers/signature.h"
#include "dialogs/boites.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

Xml_Dom::Xml_Dom(QNetworkAccessManager* manager, QWidget* parent, const Chemins& chemins)
    : QWidget(parent)
    , manager(manager)
    , chemins(chemins)
{
}

void Xml_Dom::imagesDlFinished(QNetworkReply* reply)
{
    // The searches share the manager: their replies are not ours.
    if (!telechargement || reply != telechargement->reponse())
        return;
    const QByteArray corps = telechargement->corps();
    const QString refus = telechargement->refus();
    telechargement = nullptr;

    if (!refus.isEmpty() || reply->error() != QNetworkReply::NoError) {
        emit erreurBadRequest();
        if (!refus.isEmpty())
            emit imageRefusee(tr("L'image n'a pas été téléchargée : %1").arg(refus));
        return;
    }
    const QString image = chemins.imageRecherche();
    QFile::remove(image);
    if (reply->attribute(QNetworkRequest::RedirectionTargetAttribute).isValid())
        return;

    QFile fichier(image);
    if (fichier.open(QIODevice::ReadWrite))
        fichier.write(corps);
    fichier.close();
    emit readyToPrint();
}

bool Xml_Dom::downloadImage(int aIndex)
{
    QFile fichier(chemins.reponseRecherche());
    if (!fichier.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Boites::Boite boite;
        boite.parent = this;
        boite.icone = QMessageBox::Critical;
        boite.titre = tr("Retrieve information");
        // Only the signed service's answers come here: the tip names the sources
        // that need no key.
        boite.texte
            = tr("Probleme durant les transfert d'information depuis amazon. Veuillez reesayer.")
            + QLatin1Char('\n')
            + tr("Astuce : choisissez la source BnF ou Open Library dans Configuration "
                 "Phylacto.");
        Boites::montrer(boite);
        return false;
    }
    const Signature::ImageTrouvee trouvee = Signature::urlGrandeImage(fichier.readAll(), aIndex);
    fichier.close();

    if (trouvee.trouvee) {
        // A newer download replaces it; it still ends, and is released, alone.
        if (telechargement)
            disconnect(telechargement, nullptr, this, nullptr);
        telechargement
            = new Recuperation(manager, QNetworkRequest(QUrl::fromEncoded(trouvee.url)), limites);
        connect(telechargement, &Recuperation::terminee, this,
            [this] { imagesDlFinished(telechargement->reponse()); });
    }
    if (!trouvee.erreur.isEmpty()) {
        Boites::Boite boite;
        boite.parent = this;
        boite.icone = QMessageBox::Critical;
        boite.titre = tr("QXSRExample::parseXML");
        boite.texte = trouvee.erreur;
        Boites::montrer(boite);
    }
    return true;
}
