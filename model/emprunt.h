#pragma once

#include <QDate>
#include <QList>
#include <QString>

class BD;

// Lending rules: what a loan and a return change in an album.
namespace Emprunt {

// Always ten characters: 1 March 2014 is "01/03/2014".
QString formaterDate(const QDate& jour);

// Why a borrower's name typed for a loan is refused, or empty when it is not:
// a blank name would record a loan of nobody, and the collection file has no
// quoting, so a ";" could not be written back.
QString refusNom(const QString& emprunteur);

// Records one more loan: borrower as given, date of the day.
void preter(BD& album, const QString& emprunteur, const QDate& jour);

// The album is no longer lent; its date and loan count stay.
void rendre(BD& album);

// Albums whose borrower is neither empty nor "_", in the given order.
QList<BD*> albumsPretes(const QList<BD*>& albums);

} // namespace Emprunt
