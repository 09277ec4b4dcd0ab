// Albums from elsewhere, in a 100,000-album collection: reading a 50-record
// page of the national catalogue (goal 20 ms), a scanned barcode's answer
// read and shown as a row of the add dialog (goal 100 ms), and a GCstar file
// of 10,000 albums read, previewed and imported (goal 2 s).
#include "app/phylacto.h"
#include "covers/noticescatalogue.h"
#include "dialogs/ajoutcatalogue.h"
#include "dialogs/boites.h"
#include "generateur.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTableWidget>

#include <cstdio>

namespace {

constexpr int nbAlbums = 100000;
constexpr int nbSeries = 5000;
constexpr int nbImportes = 10000;

// A record as the library writes them: number, title, statements, publisher,
// series, people with their codes.
QByteArray notice(int i)
{
    const QByteArray n = QByteArray::number(i);
    return "<srw:record><srw:recordData><mxc:record id=\"ark:/12148/cb4500" + n
        + "\"><mxc:controlfield tag=\"001\">FRBNF4500" + n
        + "</mxc:controlfield><mxc:datafield tag=\"010\"><mxc:subfield "
          "code=\"a\">97820500"
        + QByteArray::number(10000 + i)
        + "</mxc:subfield></mxc:datafield><mxc:datafield "
          "tag=\"200\"><mxc:subfield code=\"a\">\xc2\x98Le \xc2\x9cPhare d'Écume "
        + n
        + "</mxc:subfield><mxc:subfield code=\"f\">scénario, Anaïs Ferré et Paul "
          "Morel</mxc:subfield><mxc:subfield code=\"g\">dessin, Mathilde "
          "Roussel</mxc:subfield><mxc:subfield code=\"g\">couleurs, Léa "
          "Martin</mxc:subfield></mxc:datafield><mxc:datafield tag=\"210\"><mxc:subfield "
          "code=\"c\">Dargaud</mxc:subfield><mxc:subfield code=\"d\">DL "
          "2019</mxc:subfield></mxc:datafield><mxc:datafield tag=\"225\"><mxc:subfield "
          "code=\"a\">Série n°"
        + QByteArray::number(i % 7) + "</mxc:subfield><mxc:subfield code=\"v\">T. " + n
        + "</mxc:subfield></mxc:datafield><mxc:datafield tag=\"700\"><mxc:subfield "
          "code=\"a\">Ferré</mxc:subfield><mxc:subfield "
          "code=\"b\">Anaïs</mxc:subfield><mxc:subfield "
          "code=\"4\">070</mxc:subfield></mxc:datafield><mxc:datafield tag=\"701\"><mxc:subfield "
          "code=\"a\">Roussel</mxc:subfield><mxc:subfield code=\"b\">Mathilde</mxc:subfield>"
          "<mxc:subfield code=\"4\">440</mxc:subfield></mxc:datafield></mxc:record>"
          "</srw:recordData></srw:record>";
}

QByteArray page(int debut, int nombre, int total)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><srw:searchRetrieveResponse "
                     "xmlns:srw=\"http://www.loc.gov/zing/srw/\" "
                     "xmlns:mxc=\"info:lc/xmlns/marcxchange-v2\"><srw:numberOfRecords>"
        + QByteArray::number(total) + "</srw:numberOfRecords><srw:records>";
    for (int i = debut; i < debut + nombre; ++i)
        xml += notice(i);
    return xml + "</srw:records></srw:searchRetrieveResponse>";
}

// 10,000 albums over 2,000 series (half of them the collection's), one in
// 50 with a cover file beside it.
bool ecrireGcstar(const QString& chemin)
{
    QDir().mkpath(QStringLiteral("gcstar/images"));
    QImage image(120, 160, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<collection type=\"GCcomics\">\n";
    for (int i = 0; i < nbImportes; ++i) {
        const QString serie = i % 2 ? QStringLiteral("Série n°%1").arg(i % 2000)
                                    : QStringLiteral("Importée %1").arg(i % 2000);
        QString couverture;
        if (i % 50 == 0) {
            couverture = QStringLiteral("images/c%1.png").arg(i);
            if (!image.save(QStringLiteral("gcstar/") + couverture))
                return false;
        }
        xml += QStringLiteral(
            "<item series=\"%1\" volume=\"%2\" title=\"Importé %3\" writer=\"Anaïs "
            "Ferré\" illustrator=\"Mathilde Roussel\" publisher=\"Dargaud\" "
            "category=\"Aventure\" rating=\"7\" borrower=\"%4\" image=\"%5\">"
            "<synopsis>Un album importé.</synopsis></item>\n")
                   .arg(serie)
                   .arg(i / 2000 + 1)
                   .arg(i)
                   .arg(i % 100 == 0 ? QStringLiteral("Théo") : QStringLiteral("none"), couverture)
                   .toUtf8();
    }
    QFile fichier(chemin);
    return fichier.open(QIODevice::WriteOnly) && fichier.write(xml + "</collection>\n") > 0;
}

} // namespace

int main(int argc, char** argv)
{
    choisirAffichageHorsEcran();
    QApplication app(argc, argv);

    const QUrl base(QStringLiteral("https://catalogue.bnf.fr"));
    const QByteArray cinquante = page(1, 50, 120);
    QList<double> lectures;
    for (int i = 0; i < 30; ++i) {
        QElapsedTimer chrono;
        chrono.start();
        const NoticesCatalogue::PageNotices lue = NoticesCatalogue::lireSru(cinquante, base);
        lectures.append(chrono.nsecsElapsed() / 1e6);
        if (lue.notices.size() != 50)
            return 1;
    }
    const Stats l = resumer(lectures);
    std::printf("page de 50 notices (%lld ko) : médiane %.2f ms, max %.2f ms (objectif 20 ms)\n",
        static_cast<long long>(cinquante.size() / 1024), l.mediane, l.max);

    QTemporaryDir dossier;
    if (!preparerDossier(dossier, nbAlbums, nbSeries))
        return 1;
    Phylacto fenetre;
    if (!montrer(fenetre, nbAlbums))
        return 1;
    fenetre.ouvrirAjoutCatalogue();
    auto* ajout = fenetre.findChild<AjoutCatalogue*>();
    QApplication::processEvents();
    QList<double> scans;
    for (int i = 0; i < 20; ++i) {
        const QByteArray reponse = page(i, 1, 1);
        QElapsedTimer chrono;
        chrono.start();
        RechercheCatalogue::Resultat resultat;
        resultat.etat = RechercheCatalogue::Etat::Trouve;
        resultat.notices = NoticesCatalogue::lireSru(reponse, base).notices;
        ajout->recevoir(resultat, QStringLiteral("9782205050059"), true);
        QApplication::processEvents();
        scans.append(chrono.nsecsElapsed() / 1e6);
    }
    const Stats s = resumer(scans);
    std::printf("code-barres lu, ligne affichée : médiane %.2f ms, max %.2f ms (objectif 100 ms, "
                "%d lignes)\n",
        s.mediane, s.max,
        ajout->findChild<QTableWidget*>(QStringLiteral("tvResultatsCatalogue"))->rowCount());
    ajout->close();

    if (!ecrireGcstar(QStringLiteral("gcstar/collection.gcs")))
        return 1;
    Boites::setAutomatique(true);
    Boites::setProchainFichier(QDir::current().filePath(QStringLiteral("gcstar/collection.gcs")));
    // "Importer" in the preview.
    Boites::setProchaineEtape([](QWidget* apercu) { qobject_cast<QDialog*>(apercu)->accept(); });
    QElapsedTimer chrono;
    chrono.start();
    fenetre.importerAutreCatalogue();
    const double import = chrono.nsecsElapsed() / 1e9;
    const qsizetype ajoutes = fenetre.getAlbums().size() - nbAlbums;
    std::printf(
        "GCstar de %d albums (%d couvertures) lu, aperçu et importé : %.3f s (objectif 2 s), "
        "%lld albums ajoutés\n",
        nbImportes, nbImportes / 50, import, static_cast<long long>(ajoutes));
    return ajoutes == nbImportes && l.max <= 20.0 && s.max <= 100.0 && import <= 2.0 ? 0 : 2;
}
