#include "support/fixture.h"

namespace {
// In the window tests (this file is linked whole into each), every scratch
// folder turns the boxes and file dialogs automatic and forgets what they saw.
[[maybe_unused]] const bool boitesAutomatiques = (
    DossierTravail::aLaCreation =
        [] {
            Boites::setAutomatique(true);
            Boites::oublier();
            // The wall's thumbnails in the scratch folder, not the user's cache.
            qputenv("XDG_CACHE_HOME", QFile::encodeName(QDir::current().filePath("cache")));
        },
    true);
}

bool declencherAction(QWidget* fenetre, const QString& nomAction)
{
    auto* action = enfant<QAction>(fenetre, nomAction);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    traiterEvenements();
    return true;
}

bool remplir(QObject* parent, const QStringList& champs)
{
    for (const QString& champ : champs) {
        const QString nom = champ.section(QLatin1Char('='), 0, 0),
                      texte = champ.section(QLatin1Char('='), 1);
        if (auto* ligne = enfant<QLineEdit>(parent, nom))
            ligne->setText(texte);
        else if (auto* liste = enfant<QComboBox>(parent, nom))
            liste->setCurrentText(texte);
        else if (auto* nombre = enfant<QSpinBox>(parent, nom))
            nombre->setValue(texte.toInt());
        else if (!cliquer(parent, nom))
            return false;
    }
    return true;
}

bool cliquer(const QObject* parent, const QString& bouton)
{
    auto* b = enfant<QAbstractButton>(parent, bouton);
    if (b)
        b->click();
    return b;
}

void traiterEvenements()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QStringList Scene::textes(const QString& nom, int colonne) const
{
    QStringList resultat;
    if (auto* liste = w<QListWidget>(nom))
        for (int i = 0; i < liste->count(); ++i)
            resultat << liste->item(i)->text();
    if (auto* table = w<QTableWidget>(nom))
        for (int i = 0; i < table->rowCount(); ++i)
            resultat << table->item(i, colonne)->text();
    return resultat;
}

QString Scene::resume() const
{
    QStringList parties, lignes, compteurs, panneau;
    for (const auto& [prefixe, liste] : { std::pair { "", "LstSerie" }, { "E:", "LstBDEuro" },
             { "C:", "LstComics" }, { "M:", "LstManga" } })
        parties << prefixe + textes(liste).join(',');
    const QStringList tomes = textes("LstAlbum"), titres = textes("LstAlbum", 1);
    for (int i = 0; i < tomes.size(); ++i)
        lignes << tomes.at(i) + ':' + titres.at(i);
    for (const char* nom : { "lbTotale", "lbEuro", "lbComics", "lbManga" })
        compteurs << w<QLabel>(nom)->text();
    for (const char* nom : { "leSerie", "leTitre", "leTome" })
        panneau << w<QLineEdit>(nom)->text();
    parties << '[' + fenetre->getSerieCourante() + "] " + lignes.join(',') << compteurs.join(' ')
            << panneau.join('/');
    return parties.join(" | ");
}

bool Scene::choisir(const QString& serie, const QString& titre)
{
    const QList<QListWidgetItem*> trouvees
        = w<QListWidget>(QStringLiteral("LstSerie"))->findItems(serie, Qt::MatchExactly);
    if (trouvees.isEmpty())
        return false;
    w<QListWidget>(QStringLiteral("LstSerie"))->setCurrentItem(trouvees.first());
    const int ligne = textes(QStringLiteral("LstAlbum"), 1).indexOf(titre);
    w<QTableWidget>(QStringLiteral("LstAlbum"))->setCurrentCell(titre.isEmpty() ? -1 : ligne, 1);
    return titre.isEmpty() || ligne >= 0;
}
