#pragma once

class QWidget;

// Shows a window modally over the whole application and returns when it has
// been closed. The caller owns the window and frees it afterwards.
void showModal(QWidget* window);
