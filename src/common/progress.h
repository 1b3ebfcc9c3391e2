#pragma once
// The transfer progress window: a step text, a gauge, a second gauge and Cancel.

#include <string>

namespace pelvoro {

class ProgressWindow {
  public:
    virtual ~ProgressWindow() = default;
    virtual void show(const std::string& caption) = 0;
    virtual void hide() = 0;
    virtual void setStep(const std::string& text) = 0;
    virtual void setGauge(int position, int maximum) = 0;
    virtual void setSecondGauge(int position, int maximum) = 0;
    // True once the user has pressed Cancel since the window was shown.
    virtual bool cancelPressed() = 0;
    // Parts of the window that some steps hide; all are visible after show() except the
    // second gauge, which only counted text blocks use.
    virtual void setGaugeVisible(bool visible) { (void)visible; }
    virtual void setSecondGaugeVisible(bool visible) { (void)visible; }
    virtual void setCancelVisible(bool visible) { (void)visible; }
};

// A progress window that shows nothing and whose Cancel is never pressed: for work run
// without windows (the command-line program, fuzz targets, benchmarks).
class NullProgress : public ProgressWindow {
  public:
    void show(const std::string&) override {}
    void hide() override {}
    void setStep(const std::string&) override {}
    void setGauge(int, int) override {}
    void setSecondGauge(int, int) override {}
    bool cancelPressed() override { return false; }
};

}  // namespace pelvoro
