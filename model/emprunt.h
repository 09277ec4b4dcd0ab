#pragma once

#include <QDate>
#include <QList>
#include <QString>

class BD;

// Lending rules: what a loan and a return change in an album.
namespace Emprunt {

// Always ten characters: 1 March 2014 is "01/03/2014".
QString formaterDate(const QDate& jour);

// The collection file has no quoting, so a ";" in a borrower's name could not
// be written back.
bool nomValide(const QString& emprunteur);

// Records one more loan: borrower as given (an empty name is accepted and
// still counts), date of the day.
void preter(BD& album, const QString& emprunteur, const QDate& jour);

// The album is no longer lent; its date and loan count stay.
void rendre(BD& album);

// Albums whose borrower is neither empty nor "_", in the given order.
QList<BD*> albumsPretes(const QList<BD*>& albums);

} // namespace Emprunt
