#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class BD;
struct ValeursAlbum;
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
    // albums (the catalogue's, in order) extend the two combo boxes.
    Saise(BD* album, QWidget* parent, const QList<BD*>& albums = {});
    ~Saise() override;

    void afficherTitre(const QString& titre);
    void afficherCommentaire(const QString& commentaire);
    // Every field from values found elsewhere, the title included.
    void remplir(const ValeursAlbum& valeurs);

signals:
    void nouvelAlbum(QString serie, QString titre, QString scenariste, QString dessinateur,
        int tome, QString commentaire, int type, int note, int serieFinie, QString editeur,
        QString genre, QString coloriste);

public slots:
    void transmissioinDonnee();
    // The series check alone, without emitting: part of the dialog's
    // interface, connected to nothing.
    void Verify(QAbstractButton* bouton);

private:
    bool verifierSerie();
    // The collection file separates its fields with ";": a field holding one
    // could not be read back. Line breaks are saved as spaces.
    bool verifierCaracteres();
    void etendreListes(const QList<BD*>& albums);
    void preRemplir(const BD* album);

    Ui::Saise* ui = nullptr;
};
