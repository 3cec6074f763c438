#pragma once

#include "Decimator.h"
#include "Interpolator.h"

template <class Model>
class ModelRecord;

// Which run-time record runs a model: the Newton record unless a model type says otherwise.
template <class Model>
struct RecordFor
{
    using type = ModelRecord<Model>;
};

// One channel of the engine: the model's run-time record and an interpolator/decimator pair for
// each oversampling ratio. All pairs exist from construction on, so switching the ratio never
// allocates, and each keeps its history while another ratio is in use.
template <class Model>
class TupleSolver
{
public:
    using ModelType = Model;
    using Record = typename RecordFor<Model>::type;

    float step (float u) noexcept { return record.step (u); }

    // One base-rate sample through the ratio-R filters and R model steps. Kept out of line: the
    // block loops around the call measured faster that way than with the call inlined.
    template <int R>
    [[gnu::noinline]] float stepOversampled (float u) noexcept
    {
        if constexpr (R == 1)
        {
            return step (u);
        }
        else
        {
            auto& up = interpolator<R>();
            auto& down = decimator<R>();
            up.push (u);
            for (int k = 0; k < R; ++k)
                down.push (record.step (up.next()));
            return down.output();
        }
    }

    // Two channels through their ratio-R filters and models in lock step (stereo); each gives
    // exactly what its own stepOversampled would.
    template <int R>
    static void stepOversampledPair (TupleSolver& a, float ua, TupleSolver& b, float ub, float& wa, float& wb) noexcept
    {
        if constexpr (R == 1)
        {
            Record::stepPair (a.record, ua, b.record, ub, wa, wb);
        }
        else
        {
            auto& upA = a.interpolator<R>();
            auto& upB = b.interpolator<R>();
            auto& downA = a.decimator<R>();
            auto& downB = b.decimator<R>();
            upA.push (ua);
            upB.push (ub);
            for (int k = 0; k < R; ++k)
            {
                float ya, yb;
                Record::stepPair (a.record, upA.next(), b.record, upB.next(), ya, yb);
                downA.push (ya);
                downB.push (yb);
            }
            wa = downA.output();
            wb = downB.output();
        }
    }

    template <int R>
    Interpolator<R>& interpolator() noexcept
    {
        if constexpr (R == 2) return up2;
        else if constexpr (R == 4) return up4;
        else if constexpr (R == 8) return up8;
        else return up16;
    }

    template <int R>
    Decimator<R>& decimator() noexcept
    {
        if constexpr (R == 2) return down2;
        else if constexpr (R == 4) return down4;
        else if constexpr (R == 8) return down8;
        else return down16;
    }

    // Takes over another channel's circuit state and matrices and the history of its filter pair
    // for the given oversampling index, without touching the coefficient tables.
    void copyStateFrom (const TupleSolver& o, int oversamplingIndex) noexcept
    {
        record = o.record;
        switch (oversamplingIndex)
        {
            case 1: up2.copyStateFrom (o.up2); down2.copyStateFrom (o.down2); break;
            case 2: up4.copyStateFrom (o.up4); down4.copyStateFrom (o.down4); break;
            case 3: up8.copyStateFrom (o.up8); down8.copyStateFrom (o.down8); break;
            case 4: up16.copyStateFrom (o.up16); down16.copyStateFrom (o.down16); break;
            default: break;
        }
    }

    // Brings the channel back to rest after its state went non-finite.
    void recover() noexcept
    {
        record.resetState();
        up2.clear(); down2.clear();
        up4.clear(); down4.clear();
        up8.clear(); down8.clear();
        up16.clear(); down16.clear();
    }

    Record record;

private:
    Interpolator<2> up2;
    Decimator<2> down2;
    Interpolator<4> up4;
    Decimator<4> down4;
    Interpolator<8> up8;
    Decimator<8> down8;
    Interpolator<16> up16;
    Decimator<16> down16;
};
