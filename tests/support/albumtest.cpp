#include "support/albumtest.h"

#include "model/bd.h"

BD* albumTest(const QString& serie, const QString& titre, const QString& commentaire, int type)
{
    return new BD(serie, titre, 1, QStringLiteral("Dessinateur"), QStringLiteral("Scenariste"),
        QStringLiteral("Dargaud"), commentaire, 0, QStringLiteral("Aventure"), QString(), QString(),
        QString(), 0.0, type, QString(), 0, 0, 0, QString(), QStringLiteral("Coloriste"));
}
