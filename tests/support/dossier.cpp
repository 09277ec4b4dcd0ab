#include "support/dossier.h"

DossierTravail::DossierTravail()
    : m_ancien(QDir::currentPath())
{
    QDir::setCurrent(m_dossier.path());
    QDir().mkpath(QStringLiteral("data"));
    QDir().mkpath(QStringLiteral("images"));
    if (aLaCreation)
        aLaCreation();
}

QString DossierTravail::chemin(const QString& relatif) const
{
    return relatif.isEmpty() ? m_dossier.path() : m_dossier.filePath(relatif);
}

bool DossierTravail::ecrire(const QString& relatif, const QByteArray& contenu) const
{
    QFile fichier(chemin(relatif));
    QDir().mkpath(QFileInfo(fichier).absolutePath());
    return fichier.open(QIODevice::WriteOnly) && fichier.write(contenu) == contenu.size();
}

QByteArray DossierTravail::lire(const QString& relatif) const
{
    QFile fichier(chemin(relatif));
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

bool DossierTravail::parametres(const QStringList& cles) const
{
    QSettings reglages(chemin(QStringLiteral("data/settings.ini")), QSettings::IniFormat);
    for (const QString& cle : cles)
        reglages.setValue(cle.section(QLatin1Char('='), 0, 0), cle.section(QLatin1Char('='), 1));
    reglages.sync();
    return reglages.status() == QSettings::NoError;
}

QString DossierTravail::parametre(const QString& cle) const
{
    return QSettings(chemin(QStringLiteral("data/settings.ini")), QSettings::IniFormat)
        .value(cle)
        .toString();
}

bool DossierTravail::collection(
    const QByteArray& lignes, const QString& encodage, const QString& nom) const
{
    return ecrire(nom, lignes)
        && parametres({ "BASE/FileName=" + nom, "BASE/Encodage=" + encodage });
}

QByteArray donnee(const QString& nom)
{
    QFile fichier(QStringLiteral(PHYLACTO_TEST_DATA "/") + nom);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

QByteArray ligneAlbum(const QString& serie, const QString& titre, int tome, int type,
    const QString& image, const QString& emprunteur)
{
    return QStringLiteral(
        "%1;%2;%3;Dessinateur;Scenariste;Dargaud;;0;Aventure;%4;%5;;0;%6;_;0;0;0;;Coloriste\n")
        .arg(serie, titre, QString::number(tome), image, emprunteur, QString::number(type))
        .toUtf8();
}

QByteArray imagePng(int largeur, int hauteur, const QColor& couleur, quint32 graine)
{
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    image.fill(couleur);
    QRandomGenerator hasard(graine);
    for (int y = 0; graine && y < hauteur; ++y)
        for (int x = 0; x < largeur; ++x)
            image.setPixel(x, y, hasard.generate());
    QByteArray octets;
    QBuffer tampon(&octets);
    return tampon.open(QIODevice::WriteOnly) && image.save(&tampon, "PNG") ? octets : QByteArray();
}

BD* albumTest(const QString& serie, const QString& titre, int tome, int type)
{
    return new BD(serie, titre, tome, QStringLiteral("Dessinateur"), QStringLiteral("Scenariste"),
        QStringLiteral("Dargaud"), QString(), 0, QStringLiteral("Aventure"), QString(), QString(),
        QString(), 0.0, type, QString(), 0, 0, 0, QString(), QStringLiteral("Coloriste"));
}
