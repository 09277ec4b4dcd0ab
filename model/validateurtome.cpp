#include "model/validateurtome.h"

QValidator::State ValidateurTome::validate(QString& texte, int& position) const
{
    Q_UNUSED(position);
    if (texte.size() > chiffresMax)
        return Invalid;
    for (const QChar caractere : std::as_const(texte)) {
        if (caractere < u'0' || caractere > u'9')
            return Invalid;
    }
    return Acceptable;
}
