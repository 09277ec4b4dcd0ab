#pragma once

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
    Xml_Dom(QNetworkAccessManager* manager, QWidget* parent = nullptr);

    // Transfer timeout of the downloads (30 s); a silent host ends as
    // erreurBadRequest().
    void setDelaiTransfert(int millisecondes) { delaiTransfert = millisecondes; }

signals:
    void readyToPrint();
    void erreurBadRequest();

public slots:
    void imagesDlFinished(QNetworkReply* reply);
    bool downloadImage(int aIndex);

private:
    QNetworkAccessManager* manager = nullptr;
    QPointer<QNetworkReply> telechargement;
    int delaiTransfert = 30000;
};
