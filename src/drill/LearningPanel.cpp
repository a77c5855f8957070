#include "LearningPanel.h"

#include "CaptionFrame.h"
#include "DrillWidgets.h"
#include "Fonts.h"
#include "LearningKind.h"
#include "Palette.h"
#include "PictureBox.h"
#include "Placement.h"

#include <QLabel>

namespace {

const QString CorrectText = QStringLiteral("正解");
const QString WrongText = QStringLiteral("不正解");
const QString Gap = QStringLiteral("　");

// The question box Frame4 and what it shows, in its own coordinates.
const QRect QuestionBoxRect(22, 106, 247, 172);
const QRect CueRect(6, 16, 235, 148);
const QRect FailRect(7, 60, 233, 53);

// The judgement box Frame1: the circle or cross, shrunk beside the words
// that name the answer; after the run, the summary over the screen's button.
const QRect JudgementRect(22, 284, 247, 116);
const QSize MarkSize(64, 64);
const QRect MarkHome(8, 22, 64, 64);
const QRect FeedbackRect(78, 14, 163, 96);
const QRect SummaryRect(6, 14, 235, 44);
const QRect NoticeRect(6, 14, 235, 96);

const QRect AccuracyRect(22, 406, 247, 66);

} // namespace

LearningPanel::LearningPanel(QWidget *screen, const QString &cueCaption)
{
    Frame4 = new CaptionFrame(cueCaption, Palette::White, Palette::Red, screen);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Frame4->setGeometry(QuestionBoxRect);
    Image4 = new PictureBox(Frame4);
    Image4->setObjectName(QStringLiteral("Image4"));
    Image4->setGeometry(QuestionPictureHome);
    Image4->setAccessibleName(QStringLiteral("問題の絵"));
    Image4->hide();
    Label9 = DrillWidgets::label(Frame4, QString(), CueRect, Fonts::font(Fonts::Gothic, 20, true), Palette::DarkBlue,
                                 Palette::White);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->setWordWrap(true);
    Label9->hide();
    Label8 = DrillWidgets::label(Frame4, QStringLiteral("不合格"), FailRect, Fonts::font(Fonts::Mincho, 36, true),
                                 Palette::White, Palette::Magenta);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->hide();

    Frame1 = new CaptionFrame(QStringLiteral("判定"), Palette::LightYellow, Palette::Red, screen);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(JudgementRect);
    Image2 = new PictureBox(Frame1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setNearestNeighbour(false);
    Image2->setGeometry(MarkHome);
    Image2->setAccessibleName(QStringLiteral("判定の印"));
    Image2->hide();
    Label10 = DrillWidgets::label(Frame1, QString(), FeedbackRect, Fonts::font(Fonts::Gothic, 11, true),
                                  Palette::Black, Palette::LightYellow, Qt::AlignLeft | Qt::AlignVCenter);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setTextFormat(Qt::RichText);
    Label10->setWordWrap(true);

    Frame2 = new CaptionFrame(QStringLiteral("正解率"), Palette::LightPink, Palette::Red, screen);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(AccuracyRect);
    const QFont accuracyFont = Fonts::font(Fonts::Mincho, 28, true);
    Label2 = DrillWidgets::label(Frame2, QString(), QRect(8, 16, 148, 44), accuracyFont, Palette::White,
                                 Palette::Red, Qt::AlignRight | Qt::AlignVCenter);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = DrillWidgets::label(Frame2, QStringLiteral("％"), QRect(156, 16, 81, 44), accuracyFont, Palette::White,
                                 Palette::Red);
    Label3->setObjectName(QStringLiteral("Label3"));
}

void LearningPanel::setCueCaption(const QString &caption)
{
    Frame4->setCaption(caption);
}

void LearningPanel::clear()
{
    Label2->setText(QString());
    Label8->hide();
    Label9->hide();
    Image2->hide();
    Image2->setGeometry(MarkHome);
    Image4->hide();
    Label10->setGeometry(FeedbackRect);
    Label10->setText(QString());
    Frame1->setAccessibleDescription(QString());
}

void LearningPanel::showQuestion(const LearningQuestion &question, const QImage &flag)
{
    if (question.showsFlag)
        showPicture(Image4, flag, QuestionPictureHome, QStringLiteral("問題の国旗"));
    Label9->setText(question.cue);
    Label9->setVisible(!question.cue.isEmpty());
}

QString LearningPanel::showJudgement(bool right, const QString &answeredName, const QString &askedName,
                                     const QImage &mark)
{
    Label10->setGeometry(FeedbackRect);
    showPicture(Image2, mark.scaled(MarkSize, Qt::KeepAspectRatio, Qt::SmoothTransformation), MarkHome,
                right ? CorrectText : WrongText);
    const QString asked = QStringLiteral("<b style=\"color:#c00000\">%1</b>").arg(askedName.toHtmlEscaped());
    QString spoken;
    if (right) {
        Label10->setText(CorrectText + QStringLiteral("！<br>") + asked);
        spoken = CorrectText + Gap + askedName;
    } else {
        Label10->setText(QStringLiteral("あなたの答え<br><b>%1</b><br>正しい答え<br>%2")
                             .arg(answeredName.toHtmlEscaped(), asked));
        spoken = WrongText + Gap + QStringLiteral("あなたの答えは") + answeredName + Gap
                 + QStringLiteral("正しい答えは") + askedName;
    }
    Frame1->setAccessibleDescription(spoken);
    return spoken;
}

void LearningPanel::endJudgement()
{
    Image2->hide();
    Image4->hide();
    Label10->setText(QString());
    Frame1->setAccessibleDescription(QString());
}

void LearningPanel::setAccuracy(int percent)
{
    Label2->setText(QString::number(percent));
}

QString LearningPanel::accuracySpoken() const
{
    return QStringLiteral("正解率 %1 ％").arg(Label2->text().isEmpty() ? QStringLiteral("0") : Label2->text());
}

void LearningPanel::showVerdict(const QImage &medal, const QString &medalName, bool failed,
                                const QString &verdictText)
{
    Label9->hide();
    if (failed)
        Label8->show();
    else
        showPicture(Image4, medal, QuestionPictureHome, medalName);
    Frame1->setAccessibleDescription(verdictText);
}

void LearningPanel::showSummary(const QStringList &lines)
{
    Label10->setGeometry(SummaryRect);
    Label10->setText(lines.join(QStringLiteral("<br>")));
}

void LearningPanel::showNotice(const QString &text)
{
    Label10->setGeometry(NoticeRect);
    Label10->setText(text.toHtmlEscaped());
    Frame1->setAccessibleDescription(text);
}

QString LearningPanel::judgementDescription() const
{
    return Frame1->accessibleDescription();
}

void LearningPanel::showPicture(PictureBox *box, const QImage &picture, const QRect &home, const QString &shows)
{
    box->setImage(picture);
    box->setAccessibleName(shows);
    box->setGeometry(centredOn(home, picture.size()));
    box->show();
}
