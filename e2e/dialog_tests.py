"""End-to-end tests of a script's MsgBox and InputBox: real boxes above the
bar, answered as a user would, while the console keeps answering."""

from busy_tests import INTERRUPTED, answers_for
from harness import expect, expect_equal, pane_holds, wait_until
from remote_tests import served_client

EDIT_ID = 102
WS_DISABLED = 0x08000000


def test_message_and_input_boxes_ask_above_the_bar_and_their_answers_reach_the_script(c):
    c.launch()
    c.submit('vb x = MsgBox("Proceed?", vbYesNo + vbQuestion, "Ask")|print x')
    box = c.wait_dialog("the message box")
    expect_equal(box["title"], "Ask", "the box's title")
    expect("Proceed?" in box["statics"], f"the prompt among the box's texts: {box['statics']}")
    expect_equal([b.replace("&", "") for b in box["buttons"]], ["Yes", "No"], "the buttons")
    snap = c.snapshot()
    expect_equal(box["owner"], snap.bar["hwnd"], "the box's owner")
    expect(box["topmost"], "the box stands above the always-on-top bar")
    expect(snap.bar["style"] & WS_DISABLED, "the bar takes no input while the box is up")
    # The box's own loop keeps every window answering, and the bar repaints.
    slowest = answers_for(c, 2)
    print(f"slowest WM_NULL answer while the box was up: {slowest} ms")
    expect(c.snapshot().prompt is not None, "the bar answers while the box is up")
    c.click_dialog_button("No")
    c.wait_no_dialog()
    pane_holds(c, "7", "vbNo printed")
    snap = c.wait_idle()
    expect(not snap.bar["style"] & WS_DISABLED, "the bar takes input again")

    line = 'vb s = InputBox("Your name?", "Ask", "nobody")|print "[" & s & "]"'
    c.submit(line)
    box = c.wait_dialog("the input box")
    expect_equal(box["title"], "Ask", "the box's title")
    expect_equal(box["statics"], ["Your name?"], "the prompt")
    expect_equal(box["buttons"], ["OK", "Cancel"], "the buttons")
    expect_equal(box["edits"], ["nobody"], "the default text")
    expect(box["topmost"], "the box stands above the always-on-top bar")
    # The keys typed go to the box: they replace the selected default text.
    dialog = c.snapshot().window("#32770")
    edit = c.snapshot().control(EDIT_ID, dialog)
    # A click on the prompt gives the box the X input focus and leaves the
    # selection as it is.
    c.click_until_focused(edit["hwnd"], dialog["rect"][0] + 20, edit["rect"][1] - 20,
                          "the input box's edit")
    c.xdotool("type", "--delay", "5", "Ann")
    wait_until(lambda: c.dialogs()[0]["edits"] == ["Ann"], 30, "the typed name in the box")
    answers_for(c, 1)
    c.key("Return")
    c.wait_no_dialog()
    pane_holds(c, "[Ann]", "the typed text printed")
    c.wait_idle()

    # Cancel gives a zero-length string, whatever the box held; the box
    # stands where the script asks, in twips.
    c.submit('vb s = InputBox("Your name?", "Ask", "nobody", 1500, 3000)|print "[" & s & "]"')
    box = c.wait_dialog("the second input box")
    expect_equal(box["rect"][:2], [100, 200], "the box's top-left corner")
    c.set_dialog_edit("typed")
    wait_until(lambda: c.dialogs()[0]["edits"] == ["typed"], 30, "the text set in the box")
    c.click_dialog_button("Cancel")
    c.wait_no_dialog()
    pane_holds(c, "[]", "nothing printed between the brackets")
    c.wait_idle()

    # Ctrl+Break in a box closes it and stops the line; each box with the
    # control its keyboard focus starts in.
    for box, focus_id in (('MsgBox("Stop me?", vbYesNo, "Ask")', 6),  # Yes
                          ('InputBox("Stop me?", "Ask")', EDIT_ID)):
        c.submit(f'vb x = {box}:print "ran on [" & x & "]"|print "next segment"')
        c.wait_dialog("the box")
        dialog = c.snapshot().window("#32770")
        focus = c.snapshot().control(focus_id, dialog)
        # A click on the box's text gives it the X input focus; the box's
        # own focus stays where the box put it.
        c.click_until_focused(focus["hwnd"], dialog["rect"][0] + 20, dialog["rect"][1] + 40,
                              "the box")
        # Ctrl with the Pause key is Ctrl+Break.
        c.key("ctrl+Pause")
        c.wait_no_dialog(10)
        pane_holds(c, INTERRUPTED, "the user-interrupt error alone")
        c.wait_idle(10)
    pane_holds(c, "42", "the next line runs", after="print 6*7")


def test_a_clients_message_box_shows_on_the_serving_desktop_its_next_line_waits_and_ctrl_c_stops_it(c):
    client = served_client(c)
    client.send(b'vb x = MsgBox("From afar?", vbYesNo, "Client")|print "answer " & x\r\n')
    box = c.wait_dialog("the client's message box on the serving console")
    expect_equal(box["title"], "Client", "the box's title")
    # The client's next line waits for the box's; the serving console answers.
    client.send(b"print 6*7\r\n")
    answers_for(c, 1)
    expect(b"42" not in client.take(), "the next line waits for the box")
    c.click_dialog_button("Yes")
    client.wait_for(lambda d: b"answer 6" in d and b"42" in d, "both lines' output", timeout=20)
    data = client.take()
    expect(data.index(b"answer 6") < data.index(b"42"), f"in order: {data!r}")

    # A client's Ctrl+C closes its line's box and stops the line.
    client.send(b'vb x = MsgBox("Stop me?", vbYesNo, "Client"):print "ran on " & x\r\n')
    c.wait_dialog("the client's message box on the serving console")
    client.send(b"print 6*7\r\n")
    client.send(b"\x03")
    c.wait_no_dialog(10)
    client.wait_for(lambda d: INTERRUPTED.encode() in d, "the user-interrupt error", timeout=10)
    # A Ctrl+C drops what the client sent before it, and only that.
    client.send(b"print 7*6\r\n")
    client.wait_text(b"42", timeout=10)
    data = client.take()
    expect(b"ran on" not in data, f"the script ran on after the stop: {data!r}")
    expect(data.index(INTERRUPTED.encode()) < data.index(b"42"), f"in order: {data!r}")
    client.close()
