#pragma once

#include <QDialog>
#include <QString>

class BD;
class QAbstractButton;

namespace Ui {
class Saise;
}

// Entry form of one album: a new one, the sequel of an album or a change.
// It never touches the catalogue; it only emits what was typed.
class Saise : public QDialog
{
    Q_OBJECT

public:
    // parent is the main window, whose albums extend the two combo boxes.
    Saise(BD* album, QWidget* parent);
    ~Saise() override;

    void afficherTitre(const QString& titre);
    void afficherCommentaire(const QString& commentaire);

signals:
    void nouvelAlbum(QString serie, QString titre, QString scenariste, QString dessinateur,
        int tome, QString commentaire, int type, int note, int serieFinie, QString editeur,
        QString genre, QString coloriste);

public slots:
    void transmissioinDonnee();
    void Verify(QAbstractButton* bouton);

private:
    bool verifierSerie();
    // The collection file separates its fields with ";" and its albums with
    // line breaks: a field holding either could not be read back.
    bool verifierCaracteres();
    void etendreListes();
    void preRemplir(const BD* album);

    Ui::Saise* ui = nullptr;
};
