#!/usr/bin/env bash
# Breaks production lines on purpose, one at a time, and checks that the test
# suite fails for each: builds build/ (or the folder given), runs ctest, puts
# the line back, prints "caught" or "MISSED". Usage: mutations.sh [build-dir] [names...]
# MUTATIONS_EXCLURE="test_a|test_b" leaves slow test programs out.
set -uo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$racine/build}"
shift || true
cd "$racine"

# name | file | perl substitution (first match only)
mutations=$(cat <<'LISTE'
champ|store/lignecollection.cpp|s/champs\.note = lireEntier\(p\[15\]\);/champs.note = lireEntier(p[16]);/
separateur|store/lignecollection.cpp|s/\*sortie\+\+ = u';';/*sortie++ = u',';/
vidage|store/ecriturecollection.cpp|s/if \(erreur\.isEmpty\(\) && \(!fichier\.flush\(\)/if (false && (!fichier.flush()/
compteurPret|model/emprunt.cpp|s/    \+\+album\.nbEmprunts;\n//
colonneFiltre|model/modeleexplorateur.cpp|s/m_filtres\[ColScenariste\] = scenariste;/m_filtres[ColDessinateur] = scenariste;/
ordreCles|covers/signature.cpp|s/for \(auto it = parametres\.cbegin\(\); it != parametres\.cend\(\); \+\+it\)/for (auto it = parametres.cend(); it-- != parametres.cbegin();)/
nettoyageNom|covers/nomimage.cpp|s/    nom\.replace\(QStringLiteral\("\.\."\), QStringLiteral\("_"\)\);\n//
doublonAjout|model/catalogue.cpp|s/if \(premierAlbum\(v\.serie, v\.titre\)\)/if (false)/
doublonModif|model/catalogue.cpp|s/const BD\* autre = premierAlbum\(v\.serie, v\.titre\);/const BD* autre = nullptr;/
compteursSuppression|app/edition.cpp|s/\n    MAJCompteurs\(\);\n    update\(\);\n\}\n\nvoid Phylacto::suppSerie/\n    update();\n}\n\nvoid Phylacto::suppSerie/
coloriste19|store/lecturetranches.cpp|s/            if \(champ\.colonne >= parties\.nombre\)\n                continue;\n            const QStringView valeur = parties\.champs\[champ\.colonne\];/            const QStringView valeur = parties.champs[qMin(champ.colonne, parties.nombre - 1)];/
importModifie|app/importcollection.cpp|s/\n    setModifie\(true\);\n\}/\n}/
fermetureAnnulee|app/enregistrement.cpp|s/    \} else \{\n        event->ignore\(\);/    } else {\n        event->accept();/
relaisProxy|app/configuration.cpp|s/    connect\(fenetre, &GestionReseau::validationReseau, this, &Phylacto::relayInfoReseau\);\n//
encodagePremierDemarrage|app/phylacto.cpp|s/        Parametres::ecrire\(\*settings, Cle::Encodage, QStringLiteral\("UTF-8"\)\);\n//
tomeParcours|covers/nomimage.cpp|s/parties\.indexOf\(QStringLiteral\("Tome"\)\)/parties.lastIndexOf(QStringLiteral("Tome"))/
octal|store/ligneancienne.cpp|s/            base = 8;/            base = 10;/
texte15|model/bd.cpp|s/return QStringLiteral\("_"\);/return texte15;/
retourChariot|store/lecturetranches.cpp|s/const QStringView ligne = sansRetourChariot\(brute\);/const QStringView ligne = brute;/
scenaristeDessinateur|dialogs/saise.cpp|s/emit nouvelAlbum\(ui->leSerie->text\(\), titre, ui->leScenariste->text\(\),\n(\s*)ui->leDessinateur->text\(\),/emit nouvelAlbum(ui->leSerie->text(), titre, ui->leDessinateur->text(),\n$1ui->leScenariste->text(),/
boutonPreter|app/navigation.cpp|s/ui->pbPreter->setEnabled\(false\);/ui->pbPreter->setEnabled(true);/
rolesNotice|covers/noticescatalogue.cpp|s/codes\.scenaristes, personne\);(\n.*\n\s*)ajouterNom\(codes\.dessinateurs/codes.dessinateurs, personne);$1ajouterNom(codes.scenaristes/
numeroTome|model/numerotome.h|s/texte\.mid\(debut, fin - debut\)/texte.mid(debut, 1)/
possedeAccents|covers/noticescatalogue.cpp|s/Recherche::minusculesSansAccents\(texte\)\.simplified\(\)/texte.toLower().simplified()/
cleIsbn10|model/isbn.cpp|s/douze \+ cle13\(douze\)/douze + chiffres.back()/
couvertureLot|dialogs/ajoutcatalogue.cpp|s/albums\.append\(\{ attente\.valeurs, attente\.image,/albums.append({ attente.valeurs, lot.first().image,/
rattachementRetabli|model/catalogue.cpp|s/\|\| champs\.serieFinie != avant\.serieFinie\)\n        integrerSerie\(album\);/|| champs.serieFinie != avant.serieFinie)\n        {}/
pasRetabli|app/historique.cpp|s/m_annulation->command\(index < ancien \? index : ancien\)/m_annulation->command(index)/
finDeLigne|store/decoupelignes.h|s/return ligne\.endsWith\(u'\\r'\) \? ligne\.chopped\(1\) : ligne;/return ligne;/
dixNeufChamps|store/lignecollection.h|s/return nombre == nbChamps \|\| nombre == nbChamps - 1;/return nombre == nbChamps;/
traduction|model/traduction.h|s/return QCoreApplication::translate\("Phylacto", texte\);/return QString();/
indexApresModification|model/recherche.cpp|s/\n\s*\|\| m_revisionContenuHorsAjouts != catalogue\.revisionContenuHorsAjouts\(\)\)/)/
affinageRecherche|model/recherche.cpp|s/ && motif\.contains\(m_dernierMotif\);/;/
nombreManquants|model/tomes.cpp|s/resultat\.nombre \+= tome - 1 - precedent;/resultat.nombre += tome - precedent;/
pretsSansDate|model/statistiques.cpp|s/return a\.first\.isValid\(\);/return b.first.isValid();/
memeImage|store/nomlibre.cpp|s/if \(contenu && memeContenu\(chemin, \*contenu\)\)/if (false)/
etapeMenu|dialogs/boites.cpp|s/    etapeSuivante\(menu\);\n//
etapeDialogue|dialogs/boites.cpp|s/    etapeSuivante\(dialogue\);\n//
problemesDetailles|store/verificationcollection.cpp|s/\+\+m_rapport\.problemes <= problemesDetailles && m_signalement/++m_rapport.problemes \&\& m_signalement/
tomeNegatif|model/validateurtome.cpp|s/if \(caractere < u'0' \|\| caractere > u'9'\)/if ((caractere < u'0' || caractere > u'9') && caractere != u'-')/
emprunteurBlanc|model/emprunt.cpp|s/if \(emprunteur\.trimmed\(\)\.isEmpty\(\)\)/if (emprunteur.isEmpty())/
rendueSansChoix|dialogs/pret.cpp|s/\n\s*\|\| !tablePrets->selectionModel\(\)->isSelected\(tablePrets->currentIndex\(\)\)\)/)/
extensionCsv|store/ecriturecollection.cpp|s/return chemin \+ QStringLiteral\("\.csv"\);/return chemin;/
serieCachee|app/outilscatalogue.cpp|s/if \(tout \|\| !vue \|\| trouvees\.contains\(serieCourante\) \|\| !listee\)/if (true)/
tableEtroite|app/disposition.cpp|s/ui->LstAlbum->setMinimumWidth\(largeurNumero/ui->LstAlbum->setMinimumWidth(0 * largeurNumero/
avisCoupes|dialogs/barremessage.cpp|s/setMinimumHeight\(layout\(\)->totalHeightForWidth\(width\(\)\)\);/(void)0;/
entreeAbimee|covers/cachevignettes.cpp|s/    if \(empreinte\(contenu\) != octets\.right\(tailleEmpreinte\)\)\n        return \{\};\n//
cleSansDate|covers/cachevignettes.cpp|s/QString::number\(fichier\.modifie\), /QString::number(0), /
memoireVignettes|covers/cachevignettes.cpp|s/m_memoire\.insert\(cleM, entree, qMax<qint64>\(image\.sizeInBytes\(\), 1\) \+ cleM\.size\(\) \* 2\);/m_memoire.insert(cleM, entree, 1);/
genreMur|model/modelemurcouvertures.cpp|s/return \(m_choix\.genre < 0 \|\| /return (true || /
albumSupprimeMur|model/modelemurcouvertures.cpp|s/    m_touches\.insert\(&album\);\n//
extensionPng|dialogs/fenetrestatistiques.cpp|s/chemin \+= QStringLiteral\("\.png"\);/chemin += QString();/
agePret|model/statistiques.cpp|s/if \(jour > aujourdhui\.addMonths\(-3\)\)/if (jour >= aujourdhui.addMonths(-3))/
trancheMarque|store/lecturetranches.cpp|s/&decode, tranche\.debut == 0\)/&decode, true)/
trancheLigneInvalide|store/lecturetranches.cpp|s/premierInvalide = int\(m_lignesLues\) \+ tranche\.ligneInvalide;/premierInvalide = tranche.ligneInvalide;/
trancheLigneFautive|store/lecturetranches.cpp|s/m_lecture\.numeroLigne = int\(numero\);/m_lecture.numeroLigne = tranche.ligneFautive;/
trancheNatureUtf8|store/lecturetranches.cpp|s/ && utf8 && !pasUtf8;/ && utf8;/
textesVerses|model/textespartages.cpp|s/ && !garde\.isDetached\(\)//
compteursCharges|model/catalogue.cpp|s/        compterAlbum\(m_compteurs, album\);\n        m_revisionCompteurs/        m_revisionCompteurs/
seriesParTampon|model/catalogue.cpp|s/    m_series\.removeAt\(retiree\.rangSeries\);\n    reindexerTampons\(\);/    m_series.removeAt(retiree.rangSeries);/
serieParContenu|model/catalogue.cpp|s/ \|\| sienne == nom\)/)/
seriesAbandonnees|model/catalogue.cpp|s/    m_albums\.clear\(\);\n    m_series\.clear\(\);\n    vider\(\);/    vider();/
listesAJour|app/navigation.cpp|s/if \(m_revisionListes != catalogue\.revisionContenu\(\)\)/if (m_revisionListes == ~quint64(0))/
tomeFusionRendu|model/catalogue.cpp|s/        restaurerSerie\(renommee\.cible\);\n//
fusionSansQuestion|app/edition.cpp|s/        if \(Boites::montrer\(question\) != QMessageBox::Yes\)\n            return;\n//
titreModifie|app/historique.cpp|s/    setWindowModified\(valeur\);\n//
entreeCoupee|app/historique.cpp|s/entreeDeMenu\(tr\("Annuler %1"\)\.arg\(texte\)\)/tr("Annuler %1").arg(texte)/
ajoutEnregistre|app/edition.cpp|s/    executer\(std::make_unique<AjoutAlbums>\(\n.*\n/    setModifie(true);\n/
importEnregistre|app/importcollection.cpp|s/        executer\(std::make_unique<AjoutAlbums>\((.*\n){4}/        setModifie(true);\n/
LISTE
)

# Only the test executables are rebuilt.
cibles=()
exclure="${MUTATIONS_EXCLURE:-^$}"
for source in "$racine"/tests/test_*.cpp; do
    nom="$(basename "$source" .cpp)"
    [[ "$nom" =~ $exclure ]] || cibles+=("$nom")
done

attrape=0
manque=0
while IFS='|' read -r nom fichier expression; do
    [ -n "$nom" ] || continue
    if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$nom"; then continue; fi
    cp "$fichier" "$fichier.mutation-orig"
    perl -0pi -e "$expression" "$fichier"
    if cmp -s "$fichier" "$fichier.mutation-orig"; then
        echo "$nom: NOT APPLIED (line not found in $fichier)"
        mv "$fichier.mutation-orig" "$fichier"
        continue
    fi
    if ! cmake --build "$build" --parallel 2 --target "${cibles[@]}" >/tmp/mutation-build.log 2>&1; then
        resultat="caught (build fails)"
    elif (cd "$build" && QT_QPA_PLATFORM=offscreen ctest -j2 --timeout 120 --stop-on-failure -E "$exclure" >/tmp/mutation-$nom.log 2>&1); then
        resultat="MISSED"
    else
        resultat="caught: $(grep -oE 'test_[a-z_]+ \((Failed|Timeout|SEGFAULT|Subprocess aborted|Child aborted|Exception)' /tmp/mutation-$nom.log | cut -d' ' -f1 | tr '\n' ' ')"
    fi
    mv "$fichier.mutation-orig" "$fichier"
    touch "$fichier"
    case "$resultat" in MISSED) manque=$((manque + 1)) ;; *) attrape=$((attrape + 1)) ;; esac
    echo "$nom: $resultat"
done <<< "$mutations"
cmake --build "$build" --parallel 2 --target "${cibles[@]}" >/dev/null 2>&1
echo "caught $attrape, missed $manque"
[ "$manque" -eq 0 ]
