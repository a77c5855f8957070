#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

class CaptionFrame;
class PictureBox;
class QImage;
class QLabel;
class QWidget;
struct LearningQuestion;

// The left column of a learning screen below its title row: the question box
// Frame4 (the flag or the cue, 不合格, a medal), the judgement Frame1 (the
// circle or cross beside the words that name the answer, or the summary) and
// the accuracy Frame2.
class LearningPanel
{
public:
    // Frame4's inside: where a screen puts controls of its own.
    static constexpr QRect QuestionPictureHome{4, 14, 239, 154};
    // Where the screen's button under the summary goes, in the screen.
    static constexpr QRect BelowSummaryRect{30, 344, 231, 50};

    LearningPanel(QWidget *screen, const QString &cueCaption);

    CaptionFrame *questionBox() const { return Frame4; }
    PictureBox *questionPicture() const { return Image4; }
    QLabel *cueLabel() const { return Label9; }
    QLabel *failNotice() const { return Label8; }
    CaptionFrame *judgementBox() const { return Frame1; }
    PictureBox *feedbackPicture() const { return Image2; }
    QLabel *feedbackText() const { return Label10; }
    QLabel *accuracyLabel() const { return Label2; }

    void setCueCaption(const QString &caption);
    // Empties every box, as at the start of a run.
    void clear();
    // What `question` shows in the question box; `flag` when it shows one.
    void showQuestion(const LearningQuestion &question, const QImage &flag);
    // The judgement of an answer: the mark, and the name answered beside the
    // one asked (in red, as the map paints it). Returns what is spoken.
    QString showJudgement(bool right, const QString &answeredName, const QString &askedName, const QImage &mark);
    // The pause after an answer is over.
    void endJudgement();
    void setAccuracy(int percent);
    QString accuracySpoken() const;
    // The end of a run: 不合格 or the medal, the summary lines, and the
    // verdict in words for the judgement box's description.
    void showVerdict(const QImage &medal, const QString &medalName, bool failed, const QString &verdictText);
    void showSummary(const QStringList &lines);
    // A message for the pupil over the whole judgement box, until the next judgement.
    void showNotice(const QString &text);
    QString judgementDescription() const;

    static void showPicture(PictureBox *box, const QImage &picture, const QRect &home, const QString &shows);

private:
    CaptionFrame *Frame4 = nullptr;
    PictureBox *Image4 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label8 = nullptr;
    CaptionFrame *Frame1 = nullptr;
    PictureBox *Image2 = nullptr;
    QLabel *Label10 = nullptr;
    CaptionFrame *Frame2 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
};
