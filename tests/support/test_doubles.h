#pragma once
// Test doubles for the platform interfaces.

#include <cstdlib>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/link_clock.h"
#include "common/progress.h"
#include "common/prompts.h"
#include "common/text_measure.h"

namespace pelvoro::testing {

// Answers questions from a script and records everything shown.
class ScriptedPrompts : public Prompts {
  public:
    struct Shown {
        // "information", "warning", "error", "plain", "yesno", "yesnocancel", "open", "save"
        std::string kind;
        std::string title;
        std::string text;
    };

    void information(const std::string& text) override {
        shown.push_back({"information", "", text});
    }
    void warning(const std::string& text) override { shown.push_back({"warning", "", text}); }
    void error(const std::string& text) override { shown.push_back({"error", "", text}); }
    void plainBox(const std::string& title, const std::string& text) override {
        shown.push_back({"plain", title, text});
    }
    Answer askYesNo(const std::string& title, const std::string& text) override;
    Answer askYesNoCancel(const std::string& title, const std::string& text) override;
    void beep() override { ++beeps; }
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    std::optional<std::string> chooseOpenFile(const FileDialogRequest& r) override;
    std::optional<std::string> chooseSaveFile(const FileDialogRequest& r) override;

    std::deque<Answer> answers;                          // next answers to questions
    std::deque<std::optional<std::string>> fileChoices;  // next file dialog results
    std::vector<Shown> shown;
    std::vector<FileDialogRequest> fileRequests;
    int beeps = 0;
    int busyDepth = 0;

    std::vector<std::string> texts() const;
    bool showed(const std::string& text) const;

  private:
    Answer next(Answer fallback);
};

// Time passes only when someone waits.
class VirtualClock : public LinkClock {
  public:
    double elapsedSeconds() override { return now; }
    void pause(double seconds) override {
        if (seconds > 0) now += seconds;
        processEvents();
    }
    void processEvents() override {
        ++eventRuns;
        if (onEvents) onEvents();
    }
    double now = 0;
    int eventRuns = 0;
    std::function<void()> onEvents;
};

// Records the progress window; presses Cancel at a chosen step text or gauge position.
class ProgressRecorder : public ProgressWindow {
  public:
    void show(const std::string& caption) override {
        visible = true;
        captions.push_back(caption);
    }
    void hide() override { visible = false; }
    void setStep(const std::string& text) override {
        steps.push_back(text);
        if (!cancelAtStep.empty() && text == cancelAtStep) cancelled = true;
    }
    void setGauge(int position, int maximum) override {
        gauge = position;
        gaugeMax = maximum;
        if (cancelAtGauge >= 0 && position >= cancelAtGauge) cancelled = true;
    }
    void setSecondGauge(int position, int maximum) override {
        secondGauge = position;
        secondGaugeMax = maximum;
    }
    bool cancelPressed() override { return cancelled; }

    bool visible = false;
    bool cancelled = false;
    std::string cancelAtStep;
    int cancelAtGauge = -1;
    std::vector<std::string> captions, steps;
    int gauge = 0, gaugeMax = 0, secondGauge = 0, secondGaugeMax = 0;
};

// Shows nothing; a gauge set outside 0..maximum ends the program (for fuzz targets).
class GaugeCheckingProgress : public NullProgress {
  public:
    void setGauge(int position, int maximum) override { check(position, maximum); }
    void setSecondGauge(int position, int maximum) override { check(position, maximum); }

  private:
    static void check(int position, int maximum) {
        if (position < 0 || position > maximum) std::abort();
    }
};

// Every character is `charWidth` pixels wide; lines are `height` high.
class FixedWidthMeasure : public TextMeasure {
  public:
    explicit FixedWidthMeasure(int charWidth = 7, int height = 14)
        : charWidth_(charWidth), height_(height) {}
    int width(const std::string& text, const FontSpec&) override {
        return int(text.size()) * charWidth_;
    }
    int lineHeight(const FontSpec&) override { return height_; }

  private:
    int charWidth_, height_;
};

}  // namespace pelvoro::testing
