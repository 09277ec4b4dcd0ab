#pragma once

#include "covers/recuperation.h"
#include "settings/chemins.h"

#include <QPointer>
#include <QWidget>

class QNetworkAccessManager;
class QNetworkReply;

// Finds the large image of a given rank in "//data//tutu.xml" and downloads
// it into "//data//tutu.jpg". A widget only to parent its message boxes.
class Xml_Dom : public QWidget
{
    Q_OBJECT

public:
    Xml_Dom(QNetworkAccessManager* manager, QWidget* parent = nullptr,
        const Chemins& chemins = Chemins::dossierCourant());

    // Limits of the downloads (ms): silence, whole exchange.
    void setDelais(int silenceMax, int dureeMax)
    {
        limites.silenceMax = silenceMax;
        limites.dureeMax = dureeMax;
    }

signals:
    void readyToPrint();
    void erreurBadRequest();
    // A download given up (too large, too slow), after its erreurBadRequest().
    void imageRefusee(QString texte);

public slots:
    void imagesDlFinished(QNetworkReply* reply);
    bool downloadImage(int aIndex);

private:
    QNetworkAccessManager* manager = nullptr;
    Chemins chemins;
    QPointer<Recuperation> telechargement;
    // A redirection is reported, never followed.
    Recuperation::Limites limites = Recuperation::pourImage(false);
};
