#pragma once

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QString>

// The program's side of the web page around it (index.html, page.js).
namespace Page {

// Writes the data directory that the page fetched into the file system under root.
void installDataFiles(const QString &root);

// Writes "kunishirabe: screen <caption> x,y,w,h" to the browser console, the
// rectangle in CSS pixels of the page; the client rectangle is in the
// program's own pixels, scale program pixels to a CSS pixel.
void logScreen(const QString &caption, QRect clientRect, qreal scale);

// The page asks the program's kunishirabeWorkInProgress() before it is left
// (back, reload, closing the tab), and a yes brings the browser's own prompt.
void askProgramBeforeLeaving();

// The page's title (document.title).
void setTitle(const QString &title);

// Plays a WAV file's bytes; the page keeps the decoded sound under key.
void playSound(const QString &key, const QByteArray &wav);

// Hands a change the eye sees to the browser's screen reader (a live region).
void announce(const QString &text);

// The program has stopped: the page shows the message and offers to start again.
void showStopped(const QString &message);

} // namespace Page
