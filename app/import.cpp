#include "app/phylacto.h"

void Phylacto::ImportCsv()
{
}

QString Phylacto::convertir(QString fileName)
{
    return fileName;
}
