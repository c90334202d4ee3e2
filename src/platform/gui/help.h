#pragma once

#include <QString>

class QWidget;

// The program's help: our own help window over HTML topic pages addressed by number. Topic
// pages are the resources ":/help/<number>.html"; the contents page is ":/help/contents.html".
namespace Help {

void showContents(QWidget *parent);
// Shows one topic (the "What's This?" pop-up and F1 both land here). Topic 0 does nothing.
void showTopic(QWidget *parent, int topic);
// Closes the help window if it is open (the main window calls it when it closes).
void quit();
// The topic shown last, for tests; 0 when none.
int lastTopic();
// The file name of the page the open help window shows ("contents.html", "10.html"); empty
// when the window is not open. For tests.
QString currentPage();

// Gives widget the pop-up menu with its single item "&What's This?" showing topic, and makes
// F1 in it show the same topic. Calling it again changes the topic.
void attachWhatsThis(QWidget *widget, int topic);
// Only F1, without the pop-up menu (for controls that have a menu of their own).
void attachF1(QWidget *widget, int topic);
// The topic attached to widget, 0 when none.
int topicOf(const QWidget *widget);

} // namespace Help
