#pragma once

#include <QValidator>

// What the volume field lets through: digits only ("HS1" or " 3" would be read
// as 0, and a volume is never negative), few enough for the number to fit an
// int. An empty field stays possible.
class ValidateurTome : public QValidator
{
    Q_OBJECT

public:
    static constexpr int chiffresMax = 9;

    using QValidator::QValidator;
    State validate(QString& texte, int& position) const override;
};
