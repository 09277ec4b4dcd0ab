#pragma once

#include <QObject>
#include <QString>

// A series, rebuilt from its albums; its type is the one of its first album.
class Serie : public QObject
{
    Q_OBJECT

public:
    Serie(const QString& nom, int tomeMax, int serieFinie, int type, QObject* parent = nullptr)
        : QObject(parent)
        , tomeMax(tomeMax)
        , serieFinie(serieFinie)
        , type(type)
        , nom(nom)
    {
    }

    QString getNom() const { return nom; }
    // The name itself, for lookups without touching its count.
    const QString& nomSansCopie() const { return nom; }
    // True when texte is this very name (the same buffer), without reading it.
    bool partageLeTamponDuNom(const QString& texte) const
    {
        return nom.constData() == texte.constData() && nom.size() == texte.size();
    }

    // Only the catalogue renames a series: its index is keyed by the name.
    void renommer(const QString& nouveau) { nom = nouveau; }

    int tomeMax;
    int serieFinie;
    int type;

private:
    QString nom;
};
