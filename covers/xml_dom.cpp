#include "covers/xml_dom.h"

#include "covers/signature.h"
#include "dialogs/boites.h"
#include "settings/parametres.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

Xml_Dom::Xml_Dom(QNetworkAccessManager* manager, QWidget* parent)
    : QWidget(parent)
    , manager(manager)
{
}

void Xml_Dom::imagesDlFinished(QNetworkReply* reply)
{
    // The searches share the manager: their replies are not ours.
    if (reply != telechargement)
        return;
    telechargement = nullptr;
    disconnect(manager, &QNetworkAccessManager::finished, this, &Xml_Dom::imagesDlFinished);
    reply->deleteLater();

    if (reply->error() != QNetworkReply::NoError) {
        emit erreurBadRequest();
        return;
    }
    const QString image = Chemins::fichierDonnees(QStringLiteral("tutu.jpg"));
    QFile::remove(image);
    if (reply->attribute(QNetworkRequest::RedirectionTargetAttribute).isValid())
        return;

    QFile fichier(image);
    if (fichier.open(QIODevice::ReadWrite))
        fichier.write(reply->readAll());
    fichier.close();
    emit readyToPrint();
}

bool Xml_Dom::downloadImage(int aIndex)
{
    QFile fichier(Chemins::fichierDonnees(QStringLiteral("tutu.xml")));
    if (!fichier.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Boites::Boite boite;
        boite.parent = this;
        boite.icone = QMessageBox::Critical;
        boite.titre = tr("Retrieve information");
        boite.texte
            = tr("Probleme durant les transfert d'information depuis amazon. Veuillez reesayer.");
        Boites::montrer(boite);
        return false;
    }
    const Signature::ImageTrouvee trouvee = Signature::urlGrandeImage(fichier.readAll(), aIndex);
    fichier.close();

    if (trouvee.trouvee) {
        connect(manager, &QNetworkAccessManager::finished, this, &Xml_Dom::imagesDlFinished,
            Qt::UniqueConnection);
        QNetworkRequest requete(QUrl::fromEncoded(trouvee.url));
        // A redirection is reported, never followed.
        requete.setAttribute(
            QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        requete.setTransferTimeout(delaiTransfert);
        telechargement = manager->get(requete);
        // Released even when nobody waits for it any more (replaced by a
        // newer download, or its dialog gone).
        connect(telechargement, &QNetworkReply::finished, telechargement, &QObject::deleteLater);
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
