#include <QtTest>
#include <thread>

#include "../play/FakeMidiDevices.h"
#include "midi/MidiComponent.h"
#include "midi/VirtualClock.h"
#include "ui/MidiMessagePoster.h"

class MidiMessagePosterTest : public QObject {
  Q_OBJECT

 private slots:
  // Messages posted from another thread arrive on this one, in order; those
  // made stale by a flush before delivery are dropped.
  void deliversOnTheUiThreadAndDropsStaleMessages() {
    VirtualClock clock{0};
    MidiLog log{clock, {}, {}};
    FakeMidiDevices devices{log};
    MidiComponent midi(clock, devices);
    std::vector<std::uint32_t> got;
    bool onUiThread = true;
    MidiMessagePoster poster(midi, [&](const MidiMessage& m) {
      onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
      got.push_back(m.param);
    });
    const auto sync = midi.OpenSync(0, &poster, 0, 10);
    const auto out = midi.OpenMidiOut(&poster, 0, sync, 0);
    for (std::uint8_t beat = 0; beat < 3; ++beat)
      midi.PutMidiOut(out, {0, EventBeatMarker, beat, 0, 0});
    midi.StartSync(sync);
    std::thread clockThread([&] { midi.advanceTo(0); });
    clockThread.join();
    QVERIFY(got.empty());  // queued, not called from the clock thread
    QCoreApplication::processEvents();
    // The all-played message carries the three events the queue had taken.
    QCOMPARE(got, (std::vector<std::uint32_t>{0x000000, 0x010000, 0x020000, 3}));
    QVERIFY(onUiThread);

    got.clear();
    midi.PutMidiOut(out, {480, EventBeatMarker, 9, 0, 0});
    std::thread again([&] { midi.advanceTo(1'000'000); });
    again.join();
    midi.FlushMidiOut(out);  // after posting, before delivery
    QCoreApplication::processEvents();
    QVERIFY(got.empty());
    midi.CloseSync(sync);
  }
};

QTEST_MAIN(MidiMessagePosterTest)
#include "MidiMessagePosterTest.moc"
