#include "app/phylacto.h"

void Phylacto::ConfigReseaux()
{
}

void Phylacto::MAJReseau(QString aAdd, QString aPort, QString aLogin, QString aPassword)
{
    Q_UNUSED(aAdd);
    Q_UNUSED(aPort);
    Q_UNUSED(aLogin);
    Q_UNUSED(aPassword);
}

void Phylacto::MAJEncodage(QString aEncodage)
{
    Q_UNUSED(aEncodage);
}
