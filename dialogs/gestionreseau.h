#pragma once

#include <QString>
#include <QWidget>

namespace Ui {
class GestionReseau;
}

// The settings window: HTTP proxy of the cover search and encoding of the
// byte strings. Validating hands the values to whoever connected it.
class GestionReseau : public QWidget
{
    Q_OBJECT

public:
    GestionReseau(QString aAdresse, QString aPort, QString aLogin, QString aPassword,
        QString aEncodage, QWidget* parent = nullptr);
    ~GestionReseau() override;

    // Dated backups kept, shown in sbSauvegardes (0: none).
    void setNbSauvegardes(int nombre);
    // The cover source, as stored ("signe", "bnf", "openlibrary", "auto");
    // an absent or unknown value shows the signed service.
    void setSourceCouvertures(const QString& source);

signals:
    void validationReseau(QString aAdd, QString aPort, QString aLogin, QString aPassword);
    void validationEncodage(QString aEncodage);
    void validationSauvegardes(int nombre);
    void validationSourceCouvertures(QString aSource);

public slots:
    void RelayValidation();
    void Upadtefield(int state);

private:
    Ui::GestionReseau* ui = nullptr;
};
