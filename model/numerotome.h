#pragma once

#include <QStringView>

// The volume number a text gives: its first run of digits ("3", "T. 3",
// "Tome 3", "Vol. 3", "03", "T03"), 0 when it has none or too many digits.
inline int numeroTome(QStringView texte)
{
    qsizetype debut = 0;
    while (debut < texte.size() && !(texte[debut] >= u'0' && texte[debut] <= u'9'))
        ++debut;
    qsizetype fin = debut;
    while (fin < texte.size() && texte[fin] >= u'0' && texte[fin] <= u'9')
        ++fin;
    return texte.mid(debut, fin - debut).toInt();
}
