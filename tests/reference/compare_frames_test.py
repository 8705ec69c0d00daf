"""Checks the comparison itself on made-up pictures, so that the reference test cannot quietly
pass everything (or fail on harmless noise): what it must let through, and what it must catch."""
import random
import sys
import unittest
from pathlib import Path

from PIL import Image, ImageDraw

sys.path.insert(0, str(Path(__file__).resolve().parent))
import compare_frames  # noqa: E402

SIZE = (480, 270)


def grainy_background(seed):
    """A dark frame with the saver's kind of grain: each pixel 20 steps, plus or minus one, at random."""
    rolls = random.Random(seed)
    picture = Image.new("RGB", SIZE)
    picture.putdata([(value, value, value + 5) for value in (20 + rolls.choice((-1, 0, 0, 1))
                                                             for _ in range(SIZE[0] * SIZE[1]))])
    return picture


def with_card(picture, left, top):
    """A bright 60 x 24 card with a darker stripe, like a small overlay card."""
    card = picture.copy()
    draw = ImageDraw.Draw(card)
    draw.rectangle((left, top, left + 59, top + 23), fill=(235, 225, 200))
    draw.rectangle((left + 8, top + 8, left + 50, top + 11), fill=(90, 70, 40))
    return card


class ToleratedDifferences(unittest.TestCase):
    def test_identical_frames_measure_zero(self):
        frame = with_card(grainy_background(1), 300, 200)
        metrics = compare_frames.difference_metrics(frame, frame.copy())
        self.assertTrue(compare_frames.within_limits(metrics))
        self.assertEqual(metrics["tile"], 0)
        self.assertEqual([channel[2] for channel in metrics["channels"]], [0, 0, 0])

    def test_re_rolled_grain_passes(self):
        # Another machine may hash the grain differently: every pixel may move by up to two steps.
        metrics = compare_frames.difference_metrics(with_card(grainy_background(1), 300, 200),
                                                    with_card(grainy_background(2), 300, 200))
        self.assertGreater(metrics["channels"][0][0], 0.4)
        self.assertTrue(compare_frames.within_limits(metrics), compare_frames.describe(metrics))


class CaughtDifferences(unittest.TestCase):
    def test_card_moved_by_one_pixel_fails(self):
        background = grainy_background(1)
        metrics = compare_frames.difference_metrics(with_card(background, 300, 200),
                                                    with_card(background, 301, 200))
        self.assertFalse(compare_frames.within_limits(metrics), compare_frames.describe(metrics))

    def test_whole_frame_one_step_brighter_fails(self):
        frame = grainy_background(1)
        brighter = frame.point(lambda value: value + 1)
        metrics = compare_frames.difference_metrics(frame, brighter)
        self.assertAlmostEqual(metrics["bias"][0], 1.0)
        self.assertFalse(compare_frames.within_limits(metrics))

    def test_other_size_fails(self):
        frame = grainy_background(1)
        smaller = frame.crop((0, 0, SIZE[0] - 1, SIZE[1]))
        self.assertIsNone(compare_frames.difference_metrics(frame, smaller))
        self.assertFalse(compare_frames.within_limits(None))

    def test_percentile_counts_the_brightest_percent(self):
        # 98 of 100 pixels equal, 2 off by 200 steps: the 99th percentile is 200, the mean 4.
        histogram = [98] + [0] * 199 + [2] + [0] * 55
        self.assertEqual(compare_frames.channel_statistics(histogram, 100), (4.0, 200, 200))


if __name__ == "__main__":
    unittest.main()
