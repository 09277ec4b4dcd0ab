#include "dialogs/barremessage.h"

#include "ui_barremessage.h"

#include <QStyle>

BarreMessage::BarreMessage(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::BarreMessage)
{
    ui->setupUi(this);
    ui->pbFermer->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    ui->pbAction->hide();
    connect(ui->pbFermer, &QToolButton::clicked, this, &BarreMessage::fermer);
    connect(ui->pbAction, &QPushButton::clicked, this, &BarreMessage::actionDemandee);
    hide();
}

BarreMessage::~BarreMessage()
{
    delete ui;
}

void BarreMessage::ajouter(const QString& texte, Genre genre)
{
    m_notices.append(texte);
    m_genre = qMax(m_genre, genre);
    ui->lbTexte->setText(m_notices.join(QStringLiteral("\n\n")));

    const QStyle::StandardPixmap icone = m_genre == Erreur ? QStyle::SP_MessageBoxCritical
        : m_genre == Avertissement                         ? QStyle::SP_MessageBoxWarning
                                                           : QStyle::SP_MessageBoxInformation;
    const int cote = style()->pixelMetric(QStyle::PM_SmallIconSize);
    ui->lbIcone->setPixmap(style()->standardIcon(icone).pixmap(cote, cote));
    static const char* const fonds[] = { "#dbe9f7", "#fcefc7", "#f7d7d4" };
    static const char* const bords[] = { "#7aa7d6", "#d9a400", "#c9302c" };
    setStyleSheet(QStringLiteral("BarreMessage { background: %1; border: 1px solid %2; "
                                 "border-radius: 4px; } QLabel { color: black; }")
                      .arg(QLatin1String(fonds[m_genre]), QLatin1String(bords[m_genre])));
    show();
    ajusterHauteur();
}

void BarreMessage::resizeEvent(QResizeEvent* evenement)
{
    QFrame::resizeEvent(evenement);
    ajusterHauteur();
}

void BarreMessage::ajusterHauteur()
{
    // Before the window shows, the bar does not have its width yet.
    if (isVisible())
        setMinimumHeight(layout()->totalHeightForWidth(width()));
}

void BarreMessage::setAction(const QString& texte)
{
    ui->pbAction->setText(texte);
    ui->pbAction->setVisible(!texte.isEmpty());
}

QString BarreMessage::texteAction() const
{
    return ui->pbAction->isHidden() ? QString() : ui->pbAction->text();
}

void BarreMessage::fermer()
{
    m_notices.clear();
    m_genre = Information;
    setAction(QString());
    hide();
}
