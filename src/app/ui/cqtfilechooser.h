#pragma once
// The editor's file and folder chooser: QFileDialog for a CFileChooserRequest.

#include "app/core/cfilechooser.h"

#include <QString>

class QWidget;

// "Cartora TAB files (*.tab)|*.tab||" as QFileDialog takes it: "Cartora TAB files (*.tab)".
QString QtFileFilter(const std::string& hostFilter);

CFileChooser QtFileChooser(QWidget* parent);
