#pragma once

#include <QString>

class BD;

// A new album with the same fields as ligneAlbum() writes (texte15 empty).
BD* albumTest(const QString& serie, const QString& titre, const QString& commentaire = QString(),
    int type = 0);
