#pragma once

class QLabel;
class QWidget;

// Lays field over the run of blanks inside label's caption, such as the number box of
// "下載層數           層", so that the caption reads round the field. When the run is
// narrower than the field, the label's blanks are widened (its text stays as it is).
// field and label share a parent; the label is sized to its text.
void PlaceInBlankRun(QLabel* label, QWidget* field);
