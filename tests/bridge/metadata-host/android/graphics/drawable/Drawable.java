package android.graphics.drawable;

import android.graphics.Canvas;

public abstract class Drawable {
    protected int left, top, right, bottom;

    public int getIntrinsicWidth() {
        return -1;
    }

    public int getIntrinsicHeight() {
        return -1;
    }

    public void setBounds(int left, int top, int right, int bottom) {
        this.left = left;
        this.top = top;
        this.right = right;
        this.bottom = bottom;
    }

    public abstract void draw(Canvas canvas);
}
