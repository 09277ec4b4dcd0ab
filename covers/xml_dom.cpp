#include "covers/xml_dom.h"

#include <QNetworkReply>

Xml_Dom::Xml_Dom(QNetworkAccessManager* manager, QWidget* parent)
    : QWidget(parent)
    , manager(manager)
{
}

void Xml_Dom::imagesDlFinished(QNetworkReply* reply)
{
    Q_UNUSED(reply);
}

bool Xml_Dom::downloadImage(int aIndex)
{
    Q_UNUSED(aIndex);
    return false;
}
