#pragma once

class QWidget;
class Tdbmeter;

// A level meter of the main window's status bar: 32 green, 16 yellow and 16 red segments
// over the spans 32, 16 and 16, lit in lime, yellow and red on the button face, without
// separators, 64 x 17.
Tdbmeter* NewStatusMeter(QWidget* parent);
