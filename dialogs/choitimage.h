#pragma once

#include "settings/chemins.h"

#include <QString>
#include <QWidget>

class QNetworkAccessManager;
class Xml_Dom;

namespace Ui {
class choitImage;
}

// The cover choice panel: a search text, the first large image the search
// found, and the buttons to search, to keep the picture and, in the
// automatic search, to go on or stop. Searches go through the main window
// (demandeRecherche); the picture comes from the panel's own Xml_Dom.
class choitImage : public QWidget
{
    Q_OBJECT

public:
    choitImage(QNetworkAccessManager* manager, QWidget* parent, bool modeAuto,
        const Chemins& chemins = Chemins::dossierCourant());
    ~choitImage() override;

    // Proposes a search text; it is used once "Rechercher" is pressed.
    void setRecherche(const QString& texte);
    void afficherBoutonsAuto(bool visibles);

    QString getRecherche() const { return recherche; }

signals:
    void demandeRecherche(QString recherche);
    void newImage(QString fichier);
    void DemandeStop();
    void newImageFile(QString fichier, QString recherche);
    void DemandeSuivant();
    // Why the picture found was not downloaded, for the window to show.
    void echecImage(QString texte);

public slots:
    void memoriserRecherche();
    void afficherImage(int index);
    // Both do nothing: the panel shows the first picture of an answer only,
    // and a failed download (connected to Next) leaves it as it was.
    void Next();
    void Prev();
    void changeImage();
    void saveImage();

private:
    Ui::choitImage* ui = nullptr;
    QString recherche;
    Xml_Dom* xmlDom = nullptr;
    bool modeAuto = false;
    Chemins chemins;
};
