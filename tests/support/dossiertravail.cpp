#include "support/dossiertravail.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

DossierTravail::DossierTravail()
    : m_ancienDossier(QDir::currentPath())
{
    QDir::setCurrent(m_dossier.path());
    QDir().mkpath(QStringLiteral("data"));
    QDir().mkpath(QStringLiteral("images"));
}

DossierTravail::~DossierTravail()
{
    QDir::setCurrent(m_ancienDossier);
}

QString DossierTravail::chemin(const QString& relatif) const
{
    return relatif.isEmpty() ? m_dossier.path() : m_dossier.filePath(relatif);
}

void DossierTravail::ecrireParametres(const QList<QPair<QString, QString>>& cles)
{
    QSettings parametres(chemin(QStringLiteral("data/settings.ini")), QSettings::IniFormat);
    for (const auto& [cle, valeur] : cles)
        parametres.setValue(cle, valeur);
    parametres.sync();
}

void DossierTravail::ecrireCollection(const QByteArray& contenu, const QString& nom,
                                      const QString& encodage)
{
    ecrireFichier(nom, contenu);
    ecrireParametres({{QStringLiteral("BASE/FileName"), nom},
                      {QStringLiteral("BASE/Encodage"), encodage}});
}

void DossierTravail::ecrireFichier(const QString& relatif, const QByteArray& contenu)
{
    QFile fichier(chemin(relatif));
    QDir().mkpath(QFileInfo(fichier).absolutePath());
    if (fichier.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fichier.write(contenu);
}

QByteArray DossierTravail::lireFichier(const QString& relatif) const
{
    QFile fichier(chemin(relatif));
    if (!fichier.open(QIODevice::ReadOnly))
        return {};
    return fichier.readAll();
}

QString DossierTravail::valeurParametre(const QString& cle) const
{
    QSettings parametres(chemin(QStringLiteral("data/settings.ini")), QSettings::IniFormat);
    return parametres.value(cle).toString();
}

QByteArray ligneAlbum(const QString& serie, const QString& titre, int tome, int type,
                      const QString& image, const QString& emprunteur)
{
    const QString ligne = QStringLiteral("%1;%2;%3;Dessinateur;Scenariste;Dargaud;;0;Aventure;%4;%5;;0;%6;_;0;0;0;;Coloriste\n")
                              .arg(serie, titre, QString::number(tome), image, emprunteur,
                                   QString::number(type));
    return ligne.toUtf8();
}

bool declencherAction(QWidget* fenetre, const QString& nomAction)
{
    auto* action = fenetre->findChild<QAction*>(nomAction);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    QCoreApplication::processEvents();
    return true;
}
