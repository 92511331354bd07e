// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How far a report being made has come, and whether it is to go on: the
// report's parts call advance() as they go (rows written, pages painted);
// once it returns false the report is abandoned and comes out empty.

namespace zorva::ui {

class ReportProgress {
public:
    virtual ~ReportProgress() = default;
    // `fraction` of the whole work is done (0 to 1); false: stop now.
    virtual bool advance(double fraction) = 0;
};

// One part of a larger work: its fractions 0 to 1 are `from` to
// `from + share` of the whole. Without an outer progress it always goes on.
class ProgressPart final : public ReportProgress {
public:
    ProgressPart(ReportProgress* whole, double from, double share)
        : whole_(whole), from_(from), share_(share) {}

    bool advance(double fraction) override {
        return whole_ == nullptr || whole_->advance(from_ + share_ * fraction);
    }

private:
    ReportProgress* whole_;
    double from_;
    double share_;
};

} // namespace zorva::ui
