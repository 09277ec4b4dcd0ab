#include "covers/xml_dom.h"

#include "covers/signature.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
QString fichierDonnees(const QString& nom)
{
    return QDir::currentPath() + QStringLiteral("//data//") + nom;
}
}

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
    const QString image = fichierDonnees(QStringLiteral("tutu.jpg"));
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
    QFile fichier(fichierDonnees(QStringLiteral("tutu.xml")));
    if (!fichier.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QMessageBox::critical(this, tr("Retrieve information"),
            tr("Probleme durant les transfert d'information depuis amazon. Veuillez reesayer."),
            QMessageBox::Ok);
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
    if (!trouvee.erreur.isEmpty())
        QMessageBox::critical(this, tr("QXSRExample::parseXML"), trouvee.erreur, QMessageBox::Ok);
    return true;
}
