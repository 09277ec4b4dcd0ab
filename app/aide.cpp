#include "app/phylacto.h"

#include "dialogs/boites.h"
#include "ui_phylacto.h"

#include <QDir>

void Phylacto::preparerAide()
{
    connect(ui->actionAPropos, &QAction::triggered, this, &Phylacto::aPropos);
    connect(ui->actionAProposQt, &QAction::triggered, this,
        [this] { Boites::aProposDeQt(this, tr("À propos de Qt")); });
}

void Phylacto::aPropos()
{
    Boites::Boite boite;
    boite.parent = this;
    boite.titre = tr("À propos de Phylacto");
    boite.image = windowIcon().pixmap(64, 64);
    boite.texte
        = tr("<h3>Phylacto %1</h3>"
             "<p>Catalogue d'albums de bande dessinée.</p>"
             "<p>Logiciel libre sous licence GNU GPL version 3 ou ultérieure "
             "(GPL-3.0-or-later), fourni sans aucune garantie.</p>"
             "<p>Dossier de travail : %2</p>"
             "<p>Notices et couvertures : catalogue général de la Bibliothèque nationale de "
             "France (source : BnF) et Open Library (openlibrary.org).</p>")
              .arg(QStringLiteral(PHYLACTO_VERSION),
                  QDir::toNativeSeparators(m_chemins.dossierTravail()).toHtmlEscaped());
    Boites::montrer(boite);
}
