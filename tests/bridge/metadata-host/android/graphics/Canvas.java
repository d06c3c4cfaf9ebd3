package android.graphics;

import java.awt.Color;
import java.awt.Graphics2D;

public final class Canvas {
    private final Bitmap bitmap;

    public Canvas(Bitmap bitmap) {
        this.bitmap = bitmap;
    }

    // Stand-in only: what the fake icons draw with.
    public void fillRect(int left, int top, int right, int bottom, int argb) {
        Graphics2D g = bitmap.image.createGraphics();
        g.setColor(new Color(argb, true));
        g.fillRect(left, top, right - left, bottom - top);
        g.dispose();
    }
}
