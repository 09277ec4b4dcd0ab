#pragma once

#include <QFrame>
#include <QStringList>

namespace Ui {
class BarreMessage;
}

// A notice inside a window, in place of a modal box: an icon, the text, an
// optional action button and a close button. Hidden until a notice arrives,
// it stays until the user closes it. Notices that arrive while it shows are
// added below the ones already there.
class BarreMessage : public QFrame
{
    Q_OBJECT

public:
    enum Genre { Information, Avertissement, Erreur };

    explicit BarreMessage(QWidget* parent = nullptr);
    ~BarreMessage() override;

    void ajouter(const QString& texte, Genre genre = Avertissement);
    // The button's text; empty hides it. It is one button for the whole bar.
    void setAction(const QString& texte);

    QStringList notices() const { return m_notices; }
    QString texteAction() const;

signals:
    void actionDemandee();

public slots:
    // Hides the bar and forgets its notices.
    void fermer();

protected:
    void resizeEvent(QResizeEvent* evenement) override;

private:
    // Tall enough for every notice wrapped at the bar's width: a window too
    // short for them grows rather than cutting them.
    void ajusterHauteur();

    Ui::BarreMessage* ui = nullptr;
    QStringList m_notices;
    Genre m_genre = Information;
};
