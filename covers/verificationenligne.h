#pragma once

class QTextStream;

// The maintainer's check of the keyless sources on the live services: a
// few well-known albums searched on each source, one line per search. Works
// in a scratch folder; the settings defaults give the addresses. Returns the
// process exit code (0 when every source found at least one cover).
int verifierCouverturesEnLigne(QTextStream& sortie);
