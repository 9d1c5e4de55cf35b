#include "toolkit/events.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> drain_kinds(EventQueue& queue) {
    std::vector<int> kinds;
    PendingEvent event;
    while (pop_pending_event(queue, &event)) {
        kinds.push_back(event.kind);
    }
    return kinds;
}

PendingEvent resize_of(int window) {
    return PendingEvent{EVENT_RESIZE, 0, window, 0};
}

}  // namespace

TEST(EventQueue, ConsecutiveIdenticalUnreadEventsMergeIntoOne) {
    EventQueue queue;
    EXPECT_TRUE(push_pending_event(queue, resize_of(0)));
    EXPECT_FALSE(push_pending_event(queue, resize_of(0)));
    EXPECT_EQ(drain_kinds(queue), std::vector<int>{EVENT_RESIZE});
}

TEST(EventQueue, OnlyTheTailMergesSoInterleavedEventsAllStay) {
    EventQueue queue;
    push_pending_event(queue, resize_of(0));
    push_pending_event(queue, PendingEvent{EVENT_MOVE, 0, 0, 0});
    push_pending_event(queue, resize_of(0));
    EXPECT_EQ(drain_kinds(queue), (std::vector<int>{EVENT_RESIZE, EVENT_MOVE, EVENT_RESIZE}));
}

TEST(EventQueue, AnEventAlreadyTakenNeverAbsorbsTheNextOne) {
    EventQueue queue;
    push_pending_event(queue, resize_of(0));
    PendingEvent taken;
    ASSERT_TRUE(pop_pending_event(queue, &taken));
    EXPECT_TRUE(push_pending_event(queue, resize_of(0)));
    EXPECT_EQ(drain_kinds(queue), std::vector<int>{EVENT_RESIZE});
    EXPECT_FALSE(pop_pending_event(queue, &taken));
}

TEST(EventState, QueuedEventBecomesTheSnapshotWithoutMessageParameters) {
    EventState state = {};
    state.live.wparam = 7;
    state.live.lparam = 9;
    begin_event_wait(state);
    EXPECT_EQ(deliver_pending_event(state, PendingEvent{EVENT_CLOSE, 3, 3, 0}), EVENT_CLOSE);
    EXPECT_EQ(state.snapshot.id, 3);
    EXPECT_EQ(state.snapshot.window, 3);
    EXPECT_EQ(state.snapshot.detail, 0);
    EXPECT_EQ(state.snapshot.wparam, 0);
    EXPECT_EQ(state.snapshot.lparam, 0);
}

TEST(EventState, ImmediateEventWinsOverTheDispatchedMessageAndIsClearedAfterwards) {
    EventState state = {};
    begin_event_wait(state);
    state.live.kind = EVENT_CONTROL;  // set by the window procedure meanwhile
    state.live.id = 4;
    state.live.detail = DETAIL_CLICK;
    EXPECT_EQ(deliver_message(state, 514, 1, 2), EVENT_CONTROL);
    EXPECT_EQ(state.live.kind, 0);
    EXPECT_EQ(state.snapshot.id, 4);
    EXPECT_EQ(state.snapshot.detail, DETAIL_CLICK);
    EXPECT_NE(state.snapshot.wparam, 1);
}

TEST(EventState, PlainMessageIsReturnedWithItsParametersAndNoDetail) {
    EventState state = {};
    state.live.detail = DETAIL_DOUBLE_CLICK;
    begin_event_wait(state);
    EXPECT_EQ(deliver_message(state, 256, 9, 0x000F0001), 256);
    EXPECT_EQ(state.snapshot.detail, DETAIL_NONE);
    EXPECT_EQ(state.snapshot.wparam, 9);
    EXPECT_EQ(state.snapshot.lparam, 0x000F0001);
}

TEST(ThreadEvents, TheThreadsQueueAndImmediateEventReachTheAccessorsOnlyWhenDelivered) {
    drop_event_state();
    queue_event(EVENT_CLOSE, 3, 3, 0);
    queue_event(EVENT_CLOSE, 3, 3, 0);
    EXPECT_EQ(event_control(), 0);  // nothing delivered yet
    begin_event_wait(thread_event_state());
    PendingEvent pending;
    ASSERT_TRUE(pop_pending_event(thread_event_queue(), &pending));
    EXPECT_EQ(deliver_pending_event(thread_event_state(), pending), EVENT_CLOSE);
    EXPECT_FALSE(pop_pending_event(thread_event_queue(), &pending));  // the two merged
    EXPECT_EQ(event_window(), 3);

    begin_event_wait(thread_event_state());
    set_immediate_event(EVENT_TIMER, 9256, DETAIL_NONE);
    EXPECT_EQ(deliver_message(thread_event_state(), 0x113, 9256, 0), EVENT_TIMER);
    EXPECT_EQ(event_timer(), 9256);
    EXPECT_EQ(event_control(), event_shortcut());
    EXPECT_EQ(event_detail(), DETAIL_NONE);
    drop_event_state();
    EXPECT_EQ(event_control(), 0);
}
